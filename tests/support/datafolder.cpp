// Files and folders for tests.
#include "support/datafolder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace testdata {

std::string dataDir() {
    const char* env = std::getenv("HW_DATA_DIR");
    if (env && *env)
        return env;
#ifdef HW_DATA_DIR_DEFAULT
    return HW_DATA_DIR_DEFAULT;
#else
    return "data";
#endif
}

std::string dataPath(const std::string& name) {
    return dataDir() + "/" + name;
}

bool readFile(const std::string& path, std::vector<uint8_t>& out) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out.insert(out.end(), chunk, chunk + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    // An empty vector's data() may be null, which fwrite must not be handed.
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
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
    char buf[4096];
    if (getcwd(buf, sizeof buf))
        previous_ = buf;
    ok_ = !previous_.empty() && chdir(path.c_str()) == 0;
}

WorkingDir::~WorkingDir() {
    if (ok_ && chdir(previous_.c_str()) != 0)
        std::fprintf(stderr, "cannot return to %s\n", previous_.c_str());
}

} // namespace testdata
