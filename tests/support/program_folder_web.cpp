// Under node the running executable is node itself, so the host's own answer would be
// node's folder: the script's folder is the program's.
#include "tests/support/program_folder.h"

#include <emscripten.h>

#include <string>

#include "host/file_name.h"

namespace {

EM_JS(int, ScriptFolderBytes, (), { return lengthBytesUTF8(__dirname); });
EM_JS(void, CopyScriptFolder, (char* to, int bytes), { stringToUTF8(__dirname, to, bytes); });

}  // namespace

String TestProgramFolder() {
    std::string folder(size_t(ScriptFolderBytes()) + 1, '\0');
    CopyScriptFolder(folder.data(), int(folder.size()));
    folder.pop_back();
    return QvDecodeFileName(folder);
}
