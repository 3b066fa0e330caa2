// The parts of the runtime, framework and drivers that the game's code calls.
#pragma once

#include "runtime/runtime.h"
#include "framework/app.h"
#include "framework/input.h"
#include "graphics/graphics.h"
#include "audio/audio_module.h"
#include "net/async_event.h"
#include "net/http_request.h"
#include "net/string_stack.h"
