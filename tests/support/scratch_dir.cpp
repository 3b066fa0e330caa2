#include "tests/support/scratch_dir.h"

#include <sched.h>
#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

ScratchDir::ScratchDir() {
    char name[] = "/tmp/vortan-testXXXXXX";
    if (mkdtemp(name)) path_ = name;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary);
    out << bytes;
}

std::string ScratchDir::Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::set<std::string> Entries(const std::string& path) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(path, ec))
        names.insert(e.path().filename().string());
    return names;
}

bool MountPrivate(const std::string& folder, const char* type, const std::string& options) {
    return unshare(CLONE_NEWNS) == 0 &&
           mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount(type, folder.c_str(), type, 0, options.c_str()) == 0;
}

bool MountPrivateTmpfs(const std::string& folder, int kilobytes) {
    return MountPrivate(folder, "tmpfs", "size=" + std::to_string(kilobytes) + "k");
}

void FillFolder(const std::string& folder) {
    std::ofstream out(folder + "/filler", std::ios::binary);
    const std::string block(4096, '\0');
    while (out.write(block.data(), std::streamsize(block.size())) && out.flush()) {
    }
}
