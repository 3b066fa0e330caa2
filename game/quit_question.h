// "Quit?" over the title screen: back there asks before the game ends, so a friend's press
// never ends everyone's game by surprise.
#pragma once

class c_MyApp;

void AskQuit(c_MyApp& g);
// While the question stands (m_QuitAsked): dims the w x h screen, draws the question with
// its two answers in its middle and takes the answer. Yes with A or Enter ends the program
// at once; no with B or Escape goes back to the title.
void QuitQuestion(c_MyApp& g, float w, float h);
