// The folder of the test program that runs, where its data/ folder sits.
#pragma once

#include "runtime/string.h"

// No trailing "/". Under node the program is its script, not the node executable.
String TestProgramFolder();
