// Every data file replaced in turn by truncated and bit-flipped copies of itself: the game
// starts, plays to game over and restarts without crashing, hanging or taking memory without
// bound, and the only messages are the picture loader's "Error" boxes, answered by the platform.
#include "reliability/gamesession.h"
#include "reliability/playthrough.h"

#include "platform/headless.h"
#include "scene3ds/errlist3ds.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace reliability {
namespace {

std::vector<unsigned char> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

bool writeAll(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

struct Damage {
    std::string name;
    std::vector<unsigned char> bytes;
};

// Truncations at the start, inside the headers, half way and one byte short; random bit flips
// spread over the file, and flips packed into its first bytes where the headers and counts are.
std::vector<Damage> damagedCopies(const std::vector<unsigned char>& good, uint32_t seed) {
    std::vector<Damage> out;
    for (size_t keep : {size_t{0}, size_t{7}, size_t{60}, good.size() / 2, good.size() - 1}) {
        if (keep < good.size()) {
            out.push_back({"truncated to " + std::to_string(keep),
                           std::vector<unsigned char>(good.begin(), good.begin() + keep)});
        }
    }
    std::mt19937 rng(seed);
    for (int variant = 0; variant < 4; ++variant) {
        std::vector<unsigned char> bad = good;
        const bool headers = variant >= 2;
        const size_t span = headers ? std::min<size_t>(bad.size(), 96) : bad.size();
        const size_t flips = headers ? 6 : 4 + bad.size() / 2000;
        std::uniform_int_distribution<size_t> at(0, span - 1);
        std::uniform_int_distribution<int> bit(0, 7);
        for (size_t f = 0; f < flips && span > 0; ++f) {
            bad[at(rng)] ^= static_cast<unsigned char>(1u << bit(rng));
        }
        out.push_back(
            {std::string(headers ? "header" : "spread") + " bit flips " + std::to_string(variant),
             bad});
    }
    return out;
}

// The texts the picture loader may show, all captioned "Error".
bool pictureLoaderMessage(const headless::MessageBoxRecord& box) {
    if (box.caption != "Error") {
        return false;
    }
    return box.text.rfind("Failed to open DIB file ", 0) == 0 || box.text == "Out of memory." ||
           box.text == "Unknown DIB file format." || box.text == "Image file conversion error.";
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class DamagedFile : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedFile, EveryDamagedCopyStartsPlaysAndRestarts) {
    const std::string file = GetParam();
    const std::vector<unsigned char> good = readAll(generatedDataDir() + "/" + file);
    ASSERT_FALSE(good.empty()) << file;
    const long peakBefore = peakKiB();

    uint32_t seed = 0;
    for (char c : file) {
        seed = seed * 31u + static_cast<unsigned char>(c);
    }
    for (const Damage& damage : damagedCopies(good, seed)) {
        SCOPED_TRACE(file + " " + damage.name);
        DataCopy copy(generatedDataDir());
        ASSERT_TRUE(copy.ok());
        ASSERT_TRUE(writeAll(copy.path(file), damage.bytes));
        ClearErrList3ds(); // a failure of an earlier case must not empty this case's models

        GameSession game(copy.dir());
        ASSERT_TRUE(game.ok());
        game.start(17);
        playToGameOverAndRestart(game);
        for (const headless::MessageBoxRecord& box : headless::messageBoxes()) {
            EXPECT_TRUE(pictureLoaderMessage(box)) << box.text << " / " << box.caption;
        }
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".bmp") != 0) {
            EXPECT_TRUE(headless::messageBoxes().empty())
                << "a message for a file that is no picture";
        }
    }
    // What a damaged file claims must not be what the game allocates: a few copies of the real
    // data at most, not the gigabytes a flipped count can announce.
    EXPECT_LT(peakKiB() - peakBefore, 512L * 1024L) << "peak resident size grew by KiB";
}

INSTANTIATE_TEST_SUITE_P(EachDataFile, DamagedFile,
                         ::testing::ValuesIn(dataFiles(generatedDataDir())),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
} // namespace reliability
