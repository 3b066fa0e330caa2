// Under node on the real file system, descriptor 1 is node's own stdout and has no path,
// and dup and dup2 reopen files by path: dup(1) fails, and dup2 onto 1 first closes node's
// stdout, then reopens the other file with its open flags (O_EXCL for GoogleTest's
// mkstemp file, so that fails too). GoogleTest's capture so loses the output and all that
// is printed after it. Here the two entries of the file system's stream table trade
// places instead; node's descriptors stay open.
#include "tests/support/console_capture.h"

#include <emscripten.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "tests/support/scratch_dir.h"

namespace {

EM_JS(void, SwapStreams, (int a, int b), {
    var first = FS.streams[a];
    var second = FS.streams[b];
    first.fd = b;
    second.fd = a;
    FS.streams[a] = second;
    FS.streams[b] = first;
});

// Descriptor 1 writes into `file` while this lives, also when the code run throws.
class StdoutToFile {
public:
    explicit StdoutToFile(int file) : file_(file) {
        std::fflush(stdout);
        SwapStreams(1, file_);
    }
    ~StdoutToFile() {
        std::fflush(stdout);
        SwapStreams(1, file_);
    }

private:
    const int file_;
};

}  // namespace

std::string CaptureConsole(const std::function<void()>& run) {
    const ScratchDir dir;
    const int file = open(dir.File("console").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0) {
        ADD_FAILURE() << "no file to take the console in " << dir.Path();
        return "";
    }
    {
        const StdoutToFile swapped(file);
        run();
    }
    close(file);
    return dir.Read("console");
}
