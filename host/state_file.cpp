#include "host/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "host/file_name.h"

namespace {

// The kernel's own limit on links followed while opening one name.
constexpr int kMaxLinks = 40;

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The name that opening `path` would finally reach through symbolic links (it need not
// exist yet, as with a link to a file not yet made); empty when the links go round.
std::string FinalTarget(std::string path) {
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        char link[PATH_MAX];
        ssize_t n = readlink(path.c_str(), link, sizeof link);
        if (n < 0) return path;  // not a link (or not there): this is the name
        if (n == 0 || size_t(n) == sizeof link) return std::string();
        std::string target(link, size_t(n));
        path = target[0] == '/' ? target : DirectoryOf(path) + "/" + target;
    }
    return std::string();
}

std::string TemporaryPrefix(const std::string& target) { return BaseNameOf(target) + ".tmp-"; }

std::string TemporaryName(const std::string& target) {
    return DirectoryOf(target) + "/" + TemporaryPrefix(target) + std::to_string(getpid());
}

// Removes the temporary files of saves whose process has ended (killed part-way), so
// none stays for good. Those of running processes, another copy of the game saving at
// this moment, are theirs; this process's own name is handled when it is created.
void RemoveLeftovers(const std::string& target) {
    DIR* dir = opendir(DirectoryOf(target).c_str());
    if (!dir) return;
    const std::string prefix = TemporaryPrefix(target);
    while (dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0) continue;
        const std::string name = entry->d_name;
        const std::string digits = name.substr(prefix.size());
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const pid_t pid = pid_t(std::stol(digits));
        if (pid <= 0 || std::to_string(pid) != digits || pid == getpid()) continue;
        if (kill(pid, 0) != 0 && errno == ESRCH) unlinkat(dirfd(dir), name.c_str(), 0);
    }
    closedir(dir);
}

// A new file beside the target, created exclusively; a leftover of an earlier process
// with the same id is replaced.
int CreateTemporary(const std::string& temp) {
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST && unlink(temp.c_str()) == 0) {
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    return fd;
}

// Whether this process may write the existing file in place, asked of the file system
// itself (permission bits, owner, access lists, read-only mounts, immutable files).
bool MayWrite(const std::string& file) {
    int fd = open(file.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    close(fd);
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// Makes the rename itself durable; a failure here leaves a complete file either way.
void SyncDirectory(const std::string& dir) {
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// The whole file, unless it turns out longer than a state file can be.
bool ReadBounded(int fd, std::vector<unsigned char>& bytes) {
    unsigned char block[4096];
    for (;;) {
        ssize_t n = read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.insert(bytes.end(), block, block + n);
        if (bytes.size() > size_t(kMaxStateFileBytes)) return false;
    }
}

}  // namespace

int QvWriteStateFile(const String& path, const String& state) {
    const std::string target = FinalTarget(QvEncodeFileName(path));
    if (target.empty()) return -1;
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    // Only a regular file this process could have rewritten in place is replaced.
    if (exists && (!S_ISREG(existing.st_mode) || !MayWrite(target))) return -1;
    RemoveLeftovers(target);
    const std::string temp = TemporaryName(target);
    int fd = CreateTemporary(temp);
    if (fd < 0) return -1;
    bool written = (!exists || fchmod(fd, existing.st_mode & 07777) == 0) &&
                   WriteAll(fd, state.ToUtf8()) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written) {
        unlink(temp.c_str());
        return -2;
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return -1;
    }
    SyncDirectory(DirectoryOf(target));
    return 0;
}

String QvReadStateFile(const String& path) {
    const std::string name = QvEncodeFileName(path);
    struct stat info;
    // A FIFO or a device is not opened at all: that alone could block or have effects.
    if (stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > kMaxStateFileBytes) {
        return String();
    }
    int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return String();
    std::vector<unsigned char> bytes;
    // The name may have been given to something else since it was looked at.
    const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ReadBounded(fd, bytes);
    close(fd);
    if (!ok) return String();
    return String::FromBytes(bytes.data(), int(bytes.size()));
}
