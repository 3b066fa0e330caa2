// A fresh temporary folder, removed with everything in it when the object goes.
#pragma once

#include <set>
#include <string>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;  // "" when missing

private:
    std::string path_;
};

// Mounts an empty file system of `type` on `folder` in a mount namespace of this process's
// own (for a child of InChild), so no other process sees it; false when that is not allowed.
bool MountPrivate(const std::string& folder, const char* type, const std::string& options = "");
// A small tmpfs, as MountPrivate.
bool MountPrivateTmpfs(const std::string& folder, int kilobytes);
// Writes zeros into a new file in `folder` until its file system has no room left.
void FillFolder(const std::string& folder);

// The names in folder `path` (none when it cannot be read).
std::set<std::string> Entries(const std::string& path);
