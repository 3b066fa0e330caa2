// The program's entry point: the host runs everything.
#include "host/command_line.h"
#include "host/pellix_game.h"

int main(int argc, char** argv) {
    if (std::optional<int> code = QvHandleCommandLine(argc, argv, VORTAN_VERSION)) return *code;
    QvPellixGame::Main(argc, const_cast<const char**>(argv));
    return 0;
}
