#include "host/state_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A new file beside `path`, created exclusively; a leftover from a crashed save of an
// earlier process with the same id is replaced.
int CreateTemporary(const std::string& temp) {
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST && unlink(temp.c_str()) == 0) {
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    return fd;
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

}  // namespace

int QvWriteStateFile(const String& path, const String& state) {
    std::string target = path.ToUtf8();
    std::string temp = target + ".tmp-" + std::to_string(getpid());
    int fd = CreateTemporary(temp);
    if (fd < 0) return -1;
    bool written = WriteAll(fd, state.ToUtf8()) && fsync(fd) == 0;
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
    FILE* file = fopen(path.ToUtf8().c_str(), "rb");
    if (!file) return String();
    String text = String::Load(file);
    fclose(file);
    return text;
}
