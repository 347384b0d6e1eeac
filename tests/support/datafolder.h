// Files and folders for tests: the data folder, scratch folders, whole files, working folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testdata {

// The generated data folder (HW_DATA_DIR, else the one this build generated).
std::string dataDir();
std::string dataPath(const std::string& name);

// False when the file cannot be read or written completely; an empty file is fine.
bool readFile(const std::string& path, std::vector<uint8_t>& out);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh folder under the system temp folder, removed with everything in it.
struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::string path_;
};

// Makes a folder the working directory for its lifetime.
struct WorkingDir {
    explicit WorkingDir(const std::string& path);
    ~WorkingDir();
    WorkingDir(const WorkingDir&) = delete;
    WorkingDir& operator=(const WorkingDir&) = delete;
    bool ok() const { return ok_; }
    std::string previous_;
    bool ok_ = false;
};

} // namespace testdata
