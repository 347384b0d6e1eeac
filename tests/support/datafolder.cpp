// Files and folders for tests.
#include "support/datafolder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace testdata {

std::string dataDir() {
    const char* env = std::getenv("HW_DATA_DIR");
    return env && *env ? env : HW_DATA_DIR_DEFAULT;
}

std::string dataPath(const std::string& name) {
    return dataDir() + "/" + name;
}

bool readFile(const std::string& path, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.is_open() && !in.bad();
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hwtest-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ec);
}

WorkingDir::WorkingDir(const std::string& path) {
    std::error_code ec;
    previous_ = std::filesystem::current_path(ec).string();
    ok_ = !ec && chdir(path.c_str()) == 0;
}

WorkingDir::~WorkingDir() {
    if (ok_ && chdir(previous_.c_str()) != 0)
        std::fprintf(stderr, "cannot return to %s\n", previous_.c_str());
}

} // namespace testdata
