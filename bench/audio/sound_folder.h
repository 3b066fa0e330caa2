// Where the benchmarks find the game's sound files: the data folder beside the program.
#pragma once

#include <unistd.h>

#include <string>

inline std::string SoundFolder() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string exe(path, n > 0 ? size_t(n) : 0);
    return exe.substr(0, exe.rfind('/')) + "/data/sfx/";
}
