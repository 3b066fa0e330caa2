// Everything the other subsystems need from the runtime core.
#pragma once

#include "runtime/array.h"
#include "runtime/collector.h"
#include "runtime/errors.h"
#include "runtime/object.h"
#include "runtime/string.h"
