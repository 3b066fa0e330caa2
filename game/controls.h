// What the screens ask of all four players' controls at once (sticks count as
// directions); p_PlayKey answers for one player.
#pragma once

class c_MyApp;

// One action per press on the front end: a screen acts on a press only while nothing has
// been held since the last action (m_AnyKeyHeld) and nothing has acted in this update
// (m_KeyUsed); acting takes the press from everything else.
bool PressFree(const c_MyApp& g);
void TakePress(c_MyApp& g);

bool AnyPlayerHolds(c_MyApp& g, int code);
// Any of a list of codes, as {kUp, kDown} or a table such as control::kButtons.
template <int N>
bool AnyPlayerHolds(c_MyApp& g, const int (&codes)[N]) {
    for (int code : codes) {
        if (AnyPlayerHolds(g, code)) return true;
    }
    return false;
}
