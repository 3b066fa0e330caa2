// The saved-state file: its bytes, the round trip, and saves that cannot complete.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <set>

#include "host/game.h"
#include "host/state_file.h"
#include "tests/support/scratch_dir.h"

namespace {

std::set<std::string> Entries(const std::string& path) {
    std::set<std::string> names;
    DIR* d = opendir(path.c_str());
    while (dirent* e = d ? readdir(d) : nullptr) {
        std::string name = e->d_name;
        if (name != "." && name != "..") names.insert(name);
    }
    if (d) closedir(d);
    return names;
}

String FromUnits(std::initializer_list<uint16_t> units) {
    std::vector<uint16_t> v(units);
    return String(v.data(), int(v.size()));
}

class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.File(".pellixstate");
        host.SetStatePath(String(path.c_str()));
    }
    ScratchDir dir;
    std::string path;
    QvGame host;
};

TEST_F(StateFileTest, CharactersAreStoredAsUtf8AndLoadBackUnchanged) {
    ASSERT_EQ(host.SaveState(FromUnits({0xE9})), 0);
    EXPECT_EQ(dir.Read(".pellixstate"), "\xc3\xa9");
    EXPECT_TRUE(host.LoadState() == FromUnits({0xE9}));

    String mixed = FromUnits({'A', 0x20AC, '1', 0xE9, 0x7FF, 0x800, 0xFFFD});
    ASSERT_EQ(host.SaveState(mixed), 0);
    EXPECT_EQ(dir.Read(".pellixstate"),
              "A\xe2\x82\xac"
              "1\xc3\xa9\xdf\xbf\xe0\xa0\x80\xef\xbf\xbd");
    EXPECT_TRUE(host.LoadState() == mixed);
}

TEST_F(StateFileTest, CharactersBeyondTheBasicPlaneAreWrittenOneSurrogateAtATime) {
    ASSERT_EQ(host.SaveState(FromUnits({0xD83D, 0xDE00})), 0);
    EXPECT_EQ(dir.Read(".pellixstate"), "\xed\xa0\xbd\xed\xb8\x80");
}

TEST_F(StateFileTest, EmptyStateEmptiesTheFileAndNoFileLoadsEmpty) {
    EXPECT_TRUE(host.LoadState().IsEmpty());
    ASSERT_EQ(host.SaveState("settings"), 0);
    ASSERT_EQ(host.SaveState(""), 0);
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{".pellixstate"});
    EXPECT_EQ(dir.Read(".pellixstate"), "");
    EXPECT_TRUE(host.LoadState().IsEmpty());
}

TEST_F(StateFileTest, InvalidUtf8LoadsAsLatin1) {
    dir.Write(".pellixstate", "a\xe9z");
    String loaded = host.LoadState();
    EXPECT_TRUE(loaded == FromUnits({'a', 0xE9, 'z'}));
}

TEST_F(StateFileTest, ASaveThatCannotBeWrittenKeepsThePreviousState) {
    ASSERT_EQ(host.SaveState("previous state"), 0);
    // The disk "fills" after 100 bytes: the write of a longer state fails part-way.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 100;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int result = host.SaveState(String(std::string(5000, 'x').c_str()));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, -2);
    EXPECT_EQ(dir.Read(".pellixstate"), "previous state");
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{".pellixstate"});
}

TEST_F(StateFileTest, ASaveThatCannotCreateItsFileReportsMinusOne) {
    EXPECT_EQ(QvWriteStateFile(String(dir.File("no/such/folder/.pellixstate").c_str()), "x"), -1);
    // A folder where the file should be cannot be replaced.
    ASSERT_EQ(mkdir(dir.File("taken").c_str(), 0755), 0);
    EXPECT_EQ(QvWriteStateFile(String(dir.File("taken").c_str()), "x"), -1);
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{"taken"});
}

TEST_F(StateFileTest, ALeftoverFromAnInterruptedSaveIsReplaced) {
    dir.Write(".pellixstate.tmp-" + std::to_string(getpid()), "half a sta");
    ASSERT_EQ(host.SaveState("whole state"), 0);
    EXPECT_EQ(dir.Read(".pellixstate"), "whole state");
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{".pellixstate"});
}

}  // namespace
