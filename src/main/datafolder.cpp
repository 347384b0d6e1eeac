// The data folder: the current folder when it holds the data, else the one beside the program.
#include "main/datafolder.h"

#include "platform/msgline.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <sys/stat.h>

namespace {

bool isFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string currentFolder() {
    char buf[PATH_MAX];
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
}

} // namespace

bool holdsGameData(const std::string& folder) {
    return isFile(folder + "/times_new1.glf") && isFile(folder + "/mesh/stadium.3ds");
}

std::vector<std::string> dataFolderCandidates(const std::string& exePath) {
    std::string dir = exePath;
    const size_t slash = dir.find_last_of('/');
    dir = slash == std::string::npos ? std::string(".") : dir.substr(0, slash == 0 ? 1 : slash);
    return {dir + "/data", dir + "/../share/hoopwind", dir + "/../share/games/hoopwind"};
}

bool enterDataFolder() {
    const std::string here = currentFolder();
    if (holdsGameData(".")) {
        return true;
    }
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::vector<std::string> tried = {here};
    if (n > 0) {
        exe[n] = '\0';
        for (const std::string& folder : dataFolderCandidates(exe)) {
            char real[PATH_MAX];
            const std::string shown = realpath(folder.c_str(), real) ? std::string(real) : folder;
            if (holdsGameData(folder) && chdir(folder.c_str()) == 0) {
                return true;
            }
            tried.push_back(shown);
        }
    }
    std::string line = "no game data found in";
    for (size_t i = 0; i < tried.size(); ++i) {
        line += (i == 0 ? " " : ", ") + tried[i];
    }
    printMessageLine(line + "; playing without it");
    return false;
}
