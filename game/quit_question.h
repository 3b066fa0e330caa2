// The "Quit?" box over the title screen, asked when back is pressed there.
#pragma once

class c_MyApp;

// Dims the w x h screen and draws the question with its two answers in its middle.
void DrawQuitQuestion(c_MyApp& g, float w, float h);
