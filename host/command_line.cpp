#include "host/command_line.h"

#include <cstdio>
#include <cstring>

#include "host/escaped_text.h"

namespace {

// The first line is also shown after a wrong argument.
const char kHelp[] =
    "Usage: vortan [--help | --version]\n"
    "Vortan Rally Run: an arcade brawler for one to four players on one screen.\n"
    "Started without arguments it opens its window and plays.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "\n"
    "Settings, badges and highscores are kept in the file .pellixstate in the\n"
    "folder the game is started from; the desktop menu starts it in your home\n"
    "folder. Pictures and sounds are read from the data folder beside the program.\n";

bool IsHelp(const char* arg) {
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

bool IsVersion(const char* arg) { return std::strcmp(arg, "--version") == 0; }

}  // namespace

std::optional<int> QvHandleCommandLine(int argc, const char* const* argv, const char* version) {
    if (argc < 2) return std::nullopt;
    for (int i = 1; i < argc; ++i) {
        if (!IsHelp(argv[i]) && !IsVersion(argv[i])) {
            std::fprintf(stderr, "vortan: unknown argument '%s'\n%.*s\n",
                         QvEscapeControls(argv[i]).c_str(), int(std::strcspn(kHelp, "\n")), kHelp);
            return 2;
        }
    }
    // Every argument is known: the first one decides.
    if (IsHelp(argv[1])) {
        std::fputs(kHelp, stdout);
    } else {
        std::printf("Vortan Rally Run %s\n", version);
    }
    return 0;
}
