// The program's entry point: the host runs everything.
#include "host/pellix_game.h"

int main(int argc, char** argv) {
    QvPellixGame::Main(argc, const_cast<const char**>(argv));
    return 0;
}
