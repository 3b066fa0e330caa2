#include "tests/support/program_folder.h"

#include "host/data_path.h"

String TestProgramFolder() { return QvApplicationDirectory(); }
