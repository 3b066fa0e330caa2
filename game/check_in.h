// The check-in server the game announces itself to at start (only when
// qv_Vortan_J_On_Allow is 1): the one place its address is kept.
#pragma once

#include "runtime/string.h"

// Scheme, host, port and path of the check-in; the query is added by the caller.
extern String qv_Vortan_CheckInUrl;
