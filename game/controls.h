// What the screens ask of all four players' controls at once (sticks count as
// directions); p_PlayKey answers for one player.
#pragma once

#include <initializer_list>

class c_MyApp;

bool AnyPlayerHolds(c_MyApp& g, int code);
bool AnyPlayerHolds(c_MyApp& g, std::initializer_list<int> codes);

template <int N>
bool AnyPlayerHolds(c_MyApp& g, const int (&codes)[N]) {
    for (int code : codes) {
        if (AnyPlayerHolds(g, code)) return true;
    }
    return false;
}
