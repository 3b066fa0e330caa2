#include "host/state_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// The kernel's protection of shared folders, applied whether or not the system turns it
// on: in a folder that is sticky and writable by everyone, a link of another user (who
// could point it at any file of this one's) is followed only when that user owns the
// folder.
bool MayFollow(const struct stat& link, const std::string& folder) {
    if (link.st_uid == geteuid()) return true;
    struct stat dir;
    if (stat(folder.c_str(), &dir) != 0) return false;
    if ((dir.st_mode & (S_ISVTX | S_IWOTH)) != (S_ISVTX | S_IWOTH)) return true;
    return dir.st_uid == link.st_uid;
}

void SayRefusedOnce() {
    static bool told = false;
    if (told) return;
    told = true;
    qvPrint(
        "The state file is reached through a link another user made in a shared folder: not "
        "followed, so the settings start at their defaults and are not saved");
}

// Pushes the names of `path` so that its first is taken next.
void PushNames(const std::string& path, std::vector<std::string>& names) {
    size_t end = path.size();
    while (end > 0) {
        const size_t slash = path.rfind('/', end - 1);
        const size_t start = slash == std::string::npos ? 0 : slash + 1;
        if (end > start) names.push_back(path.substr(start, end - start));
        if (slash == std::string::npos) break;
        end = slash;
    }
}

// A name with every link in it followed, one name at a time as the kernel does (it need
// not exist yet, as with a link to a file not yet made); `error` ELOOP when links go
// round, EACCES when a link may not be followed.
struct Resolved {
    std::string path;
    int error = 0;
};

Resolved Resolve(const std::string& name) {
    std::vector<std::string> names;
    PushNames(name, names);
    std::string at = name[0] == '/' ? "/" : ".";
    int links = 0;
    while (!names.empty()) {
        const std::string part = names.back();
        names.pop_back();
        if (part == ".") continue;
        // What `at` names holds no link any more, so ".." is the kernel's ".." of it.
        const std::string next = at == "/" ? "/" + part : at + "/" + part;
        struct stat info;
        if (part == ".." || lstat(next.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            at = next;
            continue;
        }
        if (++links > kMaxLinks) return {std::string(), ELOOP};
        if (!MayFollow(info, at)) {
            SayRefusedOnce();
            return {std::string(), EACCES};
        }
        char link[PATH_MAX];
        const ssize_t n = readlink(next.c_str(), link, sizeof link);
        if (n <= 0 || size_t(n) == sizeof link) return {std::string(), ELOOP};
        const std::string target(link, size_t(n));
        PushNames(target, names);
        if (target[0] == '/') at = "/";
    }
    return {at, 0};
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
    int fd = open(file.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
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
        // Where room cannot be reserved (a file system without the means, or the C
        // library's stand-in on a file open for writing alone) the file is written all
        // the same.
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL && reserved != EBADF)
            return Failed(-2, reserved);
    }
    const bool written = WriteAll(fd, bytes) && ftruncate(fd, off_t(bytes.size())) == 0 &&
                         fsync(fd) == 0;
    return written ? 0 : -2;
}

// Opened for reading too where the file allows it: on file systems that cannot reserve
// room themselves (NFS version 3 among them), the C library reserves it by reading and
// writing the file.
int OpenToRewrite(const std::string& target) {
    const int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW;
    const int fd = open(target.c_str(), O_RDWR | flags);
    return fd < 0 && errno == EACCES ? open(target.c_str(), O_WRONLY | flags) : fd;
}

// The save where the folder allows no new file beside the target: the existing file is
// rewritten where it stands, which keeps its links, owner and group too.
int RewriteInPlace(const std::string& target, const std::string& bytes, int whyNoTemporary) {
    int fd = OpenToRewrite(target);
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

// The resolved target's content, as QvReadStateFile gives it.
String ReadResolved(const std::string& name) {
    struct stat info;
    // A FIFO or a device is not opened at all: that alone could block or have effects.
    if (stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return String();
    int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return String();
    std::vector<unsigned char> bytes;
    // The name may have been given to something else since it was looked at.
    const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                    ReadStart(fd, size_t(kMaxStateFileBytes) + 1, bytes);
    close(fd);
    return ok ? QvStateFromBytes(bytes) : String();
}

int WriteResolved(const std::string& target, const std::string& bytes) {
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    // Only a regular file this process could have rewritten in place is replaced.
    if (exists && !S_ISREG(existing.st_mode)) return NotAFile(existing);
    if (exists && !MayWrite(target)) return -1;
    RemoveLeftovers(target);
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

int Unresolved(const Resolved& r) {
    return Failed(r.error == EACCES ? kStateRefused : -1, r.error);
}

// Holds the folder's lock while it lives, so saves of several processes to one folder
// take turns; where the file system cannot lock, saves go on without.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

}  // namespace

int QvWriteStateFile(const String& path, const String& state) {
    const Resolved r = Resolve(QvEncodeFileName(path));
    return r.error != 0 ? Unresolved(r) : WriteResolved(r.path, state.ToUtf8());
}

int QvUpdateStateFile(const String& path, QvStateUpdate& update) {
    const Resolved r = Resolve(QvEncodeFileName(path));
    if (r.error != 0) return Unresolved(r);
    const FolderLock lock(DirectoryOf(r.path));
    const String state = update.Updated(ReadResolved(r.path));
    const int result = WriteResolved(r.path, state.ToUtf8());
    if (result == 0) update.Stored(state);
    return result;
}

String QvReadStateFile(const String& path) {
    const Resolved r = Resolve(QvEncodeFileName(path));
    return r.error != 0 ? String() : ReadResolved(r.path);
}

String QvStateFromBytes(std::vector<unsigned char>& bytes) {
    if (bytes.size() > size_t(kMaxStateFileBytes)) {
        bytes.resize(size_t(kMaxStateFileBytes));
        DropCutCharacter(bytes);
    }
    return String::FromBytes(bytes.data(), int(bytes.size()));
}
