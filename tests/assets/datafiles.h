// Where the generated data lives for the tests, and loading a model the way the game does.
#pragma once

#include "assets/geometry.h"

#include <string>

namespace assets {

// The data folder (HW_DATA_DIR, else "data" under the working directory).
std::string dataDir();
std::string dataPath(const std::string& name);

} // namespace assets
