// Where the generated data lives for the tests.
#include "assets/datafiles.h"

#include <cstdlib>

namespace assets {

std::string dataDir() {
    const char* env = std::getenv("HW_DATA_DIR");
    return env && *env ? env : "data";
}

std::string dataPath(const std::string& name) {
    return dataDir() + "/" + name;
}

} // namespace assets
