// The source tree keeps its layers: scripts/check-layers over the tree these tests were built from,
// so a seeded include that runs back up fails a test like any other fault.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(Layers, IncludesRunAlongTheLayerTable) {
    const std::string root = HW_SOURCE_DIR_DEFAULT;
    const std::string command =
        "python3 '" + root + "/scripts/check-layers' '" + root + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "scripts/check-layers names the violation";
}
