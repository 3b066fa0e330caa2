#include "game/strike_modifier.h"

#include "game/codes.h"

const int binding::kStrikeModifier = key::kControl;
