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

// The names in folder `path` (none when it cannot be read).
std::set<std::string> Entries(const std::string& path);
