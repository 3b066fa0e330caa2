// Opening a web address hands it to xdg-open as one argument, never through a shell.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "host/glfw_game.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"

namespace {

TEST(OpenUrl, TheAddressReachesTheOpenerAsOneUntouchedArgument) {
    ScratchDir dir;
    // Stands in for the desktop's opener: records its arguments.
    dir.Write("xdg-open",
              "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"$OPENER_LOG.tmp\"\n"
              "mv \"$OPENER_LOG.tmp\" \"$OPENER_LOG\"\n");
    ASSERT_EQ(chmod(dir.File("xdg-open").c_str(), 0755), 0);
    std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (dir.Path() + ":" + oldPath).c_str(), 1);
    setenv("OPENER_LOG", dir.File("log").c_str(), 1);

    QvGlfwGame host;
    std::string url = "http://127.0.0.1/a b;touch " + dir.File("injected") + "&x=$(id)";
    host.OpenUrl(String(url.c_str()));
    std::string log;
    for (int i = 0; i < 100 && log.empty(); ++i) {
        SleepSeconds(0.05);
        log = dir.Read("log");
    }
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(log, "1\n" + url + "\n");
    struct stat st;
    EXPECT_NE(stat(dir.File("injected").c_str(), &st), 0) << "the address ran as a command";
}

}  // namespace
