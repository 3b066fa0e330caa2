#include "game/strike_modifier.h"

const int binding::kStrikeModifier = 0;  // none
