#include "host/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "host/file_name.h"
#include "runtime/errors.h"

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

// Up to `limit` bytes from the start of the file.
bool ReadStart(int fd, size_t limit, std::vector<unsigned char>& bytes) {
    unsigned char block[4096];
    while (bytes.size() < limit) {
        ssize_t n = read(fd, block, std::min(sizeof block, limit - bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        bytes.insert(bytes.end(), block, block + n);
    }
    return true;
}

// Drops a UTF-8 sequence that the cut at the end left incomplete, so the text keeps
// decoding as UTF-8 rather than as ISO 8859-1 for the sake of its last bytes.
void DropCutCharacter(std::vector<unsigned char>& bytes) {
    for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const unsigned char c = bytes[bytes.size() - back];
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (length > back) bytes.resize(bytes.size() - back);
        return;
    }
}

// The failure `result`, with errno set to `error` (cleaning up after a failure may
// have changed it).
int Failed(int result, int error) {
    errno = error;
    return result;
}

// The name exists but is not a regular file: a folder says so, anything else (a FIFO,
// a device, a socket) is not something a save may write.
int NotAFile(const struct stat& info) {
    return Failed(-1, S_ISDIR(info.st_mode) ? EISDIR : ENOTSUP);
}

// Writes `bytes` to the open file from its start and cuts it to their length; room is
// reserved first, so a disk without room fails before the old content is touched.
int RewriteOpenFile(int fd, const std::string& bytes) {
    if (!bytes.empty()) {
        const int reserved = posix_fallocate(fd, 0, off_t(bytes.size()));
        // A file system that cannot reserve room is written all the same.
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return Failed(-2, reserved);
    }
    const bool written = WriteAll(fd, bytes) && ftruncate(fd, off_t(bytes.size())) == 0 &&
                         fsync(fd) == 0;
    return written ? 0 : -2;
}

// The save where the folder allows no new file beside the target: the existing file is
// rewritten where it stands, which keeps its links, owner and group too.
int RewriteInPlace(const std::string& target, const std::string& bytes, int whyNoTemporary) {
    int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        return Failed(-1, error);
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return NotAFile(info);
    }
    static bool told = false;
    if (!told) {
        qvPrint(String("Saving the state file in place: its folder allows no new file (") +
                String(std::strerror(whyNoTemporary)) + ")");
        told = true;
    }
    int result = RewriteOpenFile(fd, bytes);
    const int error = errno;
    if (close(fd) != 0 && result == 0) return -2;
    return result == 0 ? 0 : Failed(result, error);
}

}  // namespace

int QvWriteStateFile(const String& path, const String& state) {
    const std::string target = FinalTarget(QvEncodeFileName(path));
    if (target.empty()) return Failed(-1, ELOOP);
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    // Only a regular file this process could have rewritten in place is replaced.
    if (exists && !S_ISREG(existing.st_mode)) return NotAFile(existing);
    if (exists && !MayWrite(target)) return -1;
    RemoveLeftovers(target);
    const std::string bytes = state.ToUtf8();
    const std::string temp = TemporaryName(target);
    int fd = CreateTemporary(temp);
    if (fd < 0) return exists ? RewriteInPlace(target, bytes, errno) : -1;
    bool written = (!exists || fchmod(fd, existing.st_mode & 07777) == 0) && WriteAll(fd, bytes) &&
                   fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temp.c_str());
        return Failed(-2, error);
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        unlink(temp.c_str());
        return Failed(-1, error);
    }
    SyncDirectory(DirectoryOf(target));
    return 0;
}

String QvReadStateFile(const String& path) {
    const std::string name = QvEncodeFileName(path);
    struct stat info;
    // A FIFO or a device is not opened at all: that alone could block or have effects.
    if (stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return String();
    int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return String();
    std::vector<unsigned char> bytes;
    // The name may have been given to something else since it was looked at.
    const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                    ReadStart(fd, size_t(kMaxStateFileBytes), bytes);
    close(fd);
    if (!ok) return String();
    if (info.st_size > kMaxStateFileBytes) DropCutCharacter(bytes);
    return String::FromBytes(bytes.data(), int(bytes.size()));
}
