// The saved-state file: its bytes, the round trip, saves that cannot complete, and the
// file in folders as players have them (links, files of other users, shared folders,
// FIFOs, devices, file systems that cannot reserve room, saves of several processes).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <set>

#include "host/game.h"
#include "host/state_file.h"
#include "tests/support/console_capture.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"

namespace {

String FromUnits(std::initializer_list<uint16_t> units) {
    std::vector<uint16_t> v(units);
    return String(v.data(), int(v.size()));
}

std::string LinkTarget(const std::string& link) {
    char buffer[4096];
    ssize_t n = readlink(link.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string("(not a link)") : std::string(buffer, size_t(n));
}

mode_t Mode(const std::string& path) {
    struct stat info = {};
    lstat(path.c_str(), &info);
    return info.st_mode;
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

    // Characters beyond the basic plane are written one surrogate at a time.
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

// What a load and a save of the state file report, from the game's side.
std::string LoadAndSave(QvGame& host, const String& state) {
    const String loaded = host.LoadState();
    return "loaded \"" + loaded.ToUtf8() + "\", saved " + std::to_string(host.SaveState(state));
}

TEST_F(StateFileTest, ALinkIsLoadedAndSavedThroughAndStaysALink) {
    // Dotfiles kept in a synced folder, linked from where the game runs.
    ASSERT_EQ(mkdir(dir.File("synced").c_str(), 0755), 0);
    dir.Write("synced/state", "old state");
    ASSERT_EQ(symlink("synced/state", path.c_str()), 0);
    EXPECT_EQ(LoadAndSave(host, "new state"), "loaded \"old state\", saved 0");
    EXPECT_EQ(LinkTarget(path), "synced/state");
    EXPECT_EQ(dir.Read("synced/state"), "new state");
    EXPECT_EQ(Entries(dir.Path()), (std::set<std::string>{".pellixstate", "synced"}));
    EXPECT_EQ(Entries(dir.File("synced")), std::set<std::string>{"state"});

    // A chain of links, the last one absolute, to a file not made yet: the save makes it.
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink("middle", path.c_str()), 0);
    ASSERT_EQ(symlink(dir.File("synced/later").c_str(), dir.File("middle").c_str()), 0);
    EXPECT_EQ(LoadAndSave(host, "first save"), "loaded \"\", saved 0");
    EXPECT_EQ(dir.Read("synced/later"), "first save");
    EXPECT_EQ(LinkTarget(path), "middle");
    EXPECT_TRUE(S_ISLNK(Mode(dir.File("middle"))));

    // Links that go round name no file.
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink(".pellixstate", path.c_str()), 0);
    EXPECT_EQ(LoadAndSave(host, "x"), "loaded \"\", saved -1");
    EXPECT_EQ(LinkTarget(path), ".pellixstate");
}

// In a shared folder (sticky, writable by everyone, as /tmp) a link is followed when the
// player or the folder's owner made it; another user's link, also one to a folder on the
// way, is refused, said once, and nothing behind it is read or written.
TEST_F(StateFileTest, ALinkIsFollowedInASharedFolderOnlyWhenThePlayerOrItsOwnerMadeIt) {
    const uid_t other = 65534;
    struct Case {
        mode_t mode;
        uid_t folderOwner, linkOwner;
        bool onTheWay, followed;
    };
    const Case cases[] = {{01777, 0, other, false, false},
                          {01777, 0, other, true, false},
                          {01777, 0, 0, false, true},
                          {01777, other, other, false, true},
                          {0777, 0, other, false, true}};
    const std::string refused =
        "The state file is reached through a link another user made in a shared folder: not "
        "followed, so the settings start at their defaults and are not saved\nloaded \"\", saved "
        "-3";
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::string n = std::to_string(i), folder = dir.File("shared" + n);
        const std::string own = dir.File("own" + n), name = c.onTheWay ? "/in" : "/.pellixstate";
        ASSERT_TRUE(mkdir(folder.c_str(), 0755) == 0 && mkdir(own.c_str(), 0755) == 0);
        dir.Write("own" + n + "/.pellixstate", "old");
        const std::string target = c.onTheWay ? own : own + "/.pellixstate";
        ASSERT_TRUE(symlink(target.c_str(), (folder + name).c_str()) == 0 &&
                    lchown((folder + name).c_str(), c.linkOwner, c.linkOwner) == 0 &&
                    chown(folder.c_str(), c.folderOwner, c.folderOwner) == 0 &&
                    chmod(folder.c_str(), c.mode) == 0);
        host.SetStatePath(String((folder + (c.onTheWay ? "/in/.pellixstate" : name)).c_str()));
        const std::string said = InChild([&] {  // a load and a save: refused twice, said once
            std::string report;
            const std::string printed = CaptureConsole([&] { report = LoadAndSave(host, "new"); });
            return printed + report;
        });
        EXPECT_EQ(said, c.followed ? "loaded \"old\", saved 0" : refused) << i;
        EXPECT_EQ(dir.Read("own" + n + "/.pellixstate"), c.followed ? "new" : "old") << i;
    }
}

TEST_F(StateFileTest, AFileThisUserMayNotReadOrWriteIsLeftAlone) {
    // Files of another user, in a folder everyone may write: the folder would allow a new
    // file to be renamed over them, the files themselves refuse this user.
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    dir.Write("closed", "another user's state");
    dir.Write("readonly", "kept as it is");
    ASSERT_EQ(chmod(dir.File("closed").c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.File("readonly").c_str(), 0444), 0);
    const std::string report = InChild(
        [&] {
            QvGame other;
            other.SetStatePath(String(dir.File("closed").c_str()));
            std::string r = LoadAndSave(other, "defaults") + "; ";
            other.SetStatePath(String(dir.File("readonly").c_str()));
            return r + LoadAndSave(other, "defaults");
        },
        true);
    EXPECT_EQ(report, "loaded \"\", saved -1; loaded \"kept as it is\", saved -1");
    EXPECT_EQ(dir.Read("closed"), "another user's state");
    EXPECT_EQ(Mode(dir.File("closed")) & 07777, 0u);
    EXPECT_EQ(dir.Read("readonly"), "kept as it is");
    EXPECT_EQ(Entries(dir.Path()), (std::set<std::string>{"closed", "readonly"}));
}

TEST_F(StateFileTest, WhatIsNotARegularFileIsNeitherReadNorWritten) {
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    EXPECT_EQ(InChild([&] { return LoadAndSave(host, "x"); }), "loaded \"\", saved -1");
    EXPECT_TRUE(S_ISFIFO(Mode(path)));

    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0);
    EXPECT_EQ(InChild([&] { return LoadAndSave(host, "x"); }), "loaded \"\", saved -1");
    EXPECT_EQ(LinkTarget(path), "/dev/zero");
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{".pellixstate"});
}

// A file grown past what a state file can be (by a tool gone wrong) is read up to the
// cap; a character the cap cuts is left out and the rest still reads as UTF-8.
TEST_F(StateFileTest, OfAFileLargerThanAStateFileCanBeTheStartIsRead) {
    dir.Write(".pellixstate", "\xc3\xa9" + std::string(size_t(kMaxStateFileBytes) - 3, 'a') +
                                  "\xc3\xa9 and a tail");
    const String loaded = host.LoadState();
    ASSERT_EQ(loaded.Length(), kMaxStateFileBytes - 2);
    EXPECT_EQ(loaded[0], 0xE9);
    EXPECT_EQ(loaded[loaded.Length() - 1], 'a');
}

TEST_F(StateFileTest, TheFileKeepsItsPermissionBits) {
    const mode_t oldMask = umask(022);
    ASSERT_EQ(host.SaveState("first"), 0);
    EXPECT_EQ(Mode(path) & 07777, 0644u);
    for (mode_t bits : {0600, 0664, 0640}) {
        ASSERT_EQ(chmod(path.c_str(), bits), 0);
        ASSERT_EQ(host.SaveState("again"), 0);
        EXPECT_EQ(Mode(path) & 07777, bits);
    }
    umask(oldMask);
}

TEST_F(StateFileTest, ASaveKilledPartWayLeavesNoTemporaryFileForGood) {
    ASSERT_EQ(host.SaveState("previous state"), 0);
    // A save that dies in the middle of writing: the file size limit kills the child.
    InChild([&] {
        struct rlimit small = {100, 100};
        setrlimit(RLIMIT_CORE, &small);
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_DFL);
        host.SaveState(String(std::string(5000, 'x').c_str()));
        return std::string("not killed");
    });
    ASSERT_EQ(Entries(dir.Path()).size(), 2u) << "the killed save left no temporary file to clean";
    EXPECT_EQ(dir.Read(".pellixstate"), "previous state");

    // The temporary file of a save still under way in another process is left alone.
    pid_t saving = fork();
    if (saving == 0) {
        pause();
        _exit(0);
    }
    const std::string theirs = ".pellixstate.tmp-" + std::to_string(saving);
    dir.Write(theirs, "half");
    ASSERT_EQ(host.SaveState("next state"), 0);
    kill(saving, SIGKILL);
    waitpid(saving, nullptr, 0);
    EXPECT_EQ(dir.Read(".pellixstate"), "next state");
    EXPECT_EQ(Entries(dir.Path()), (std::set<std::string>{".pellixstate", theirs}));
    // Once that process is gone too, the next save clears its file.
    ASSERT_EQ(host.SaveState("last state"), 0);
    EXPECT_EQ(Entries(dir.Path()), std::set<std::string>{".pellixstate"});
}

// Where the file system cannot reserve room (ramfs here, NFS version 3 for players) the
// rewrite in place saves all the same, also a file that may only be written.
TEST_F(StateFileTest, ARewriteInPlaceSavesWhereTheFileSystemCannotReserveRoom) {
    const std::string report = InChild([&] {
        if (!MountPrivate(dir.Path(), "ramfs")) return std::string("no ramfs");
        const std::string only = dir.File("writable only");
        for (const std::string& file : {path, only}) {
            dir.Write(file.substr(dir.Path().size() + 1), "an older state, longer than the new");
            if (chown(file.c_str(), 65534, 65534) != 0) return std::string("no chown");
        }
        const int fd = open(path.c_str(), O_RDWR);
        const bool cannotReserve = fallocate(fd, 0, 0, 1) != 0 && errno == EOPNOTSUPP;
        close(fd);
        if (chmod(only.c_str(), 0200) != 0 || !DropRootToNobody()) return std::string("not nobody");
        const int saved = host.SaveState("new state");
        const int writableOnly = QvWriteStateFile(String(only.c_str()), "new");
        struct stat info = {};
        stat(only.c_str(), &info);
        return (cannotReserve ? "" : "ramfs reserves; ") + std::to_string(saved) + " \"" +
               dir.Read(".pellixstate") + "\", " + std::to_string(writableOnly) + " " +
               std::to_string(info.st_size);
    });
    EXPECT_EQ(report, "0 \"new state\", 0 3");
}

// Several processes that each add to what is stored, saving at once: every addition
// stays, since each reads and writes while the others wait.
TEST_F(StateFileTest, SavesOfSeveralProcessesThatAddToTheStateTakeTurns) {
    struct AddOne : QvStateUpdate {
        String Updated(const String& stored) override {
            usleep(5000);  // long enough for another process to read meanwhile
            return stored + "x";
        }
        void Stored(const String&) override {}
    } addOne;
    std::vector<pid_t> savers(4);
    for (pid_t& pid : savers) {
        if ((pid = fork()) != 0) continue;
        for (int i = 0; i < 5; ++i) QvUpdateStateFile(String(path.c_str()), addOne);
        _exit(0);
    }
    for (pid_t pid : savers) waitpid(pid, nullptr, 0);
    EXPECT_EQ(dir.Read(".pellixstate"), std::string(20, 'x'));
}

}  // namespace
