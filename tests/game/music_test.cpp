// Music through SDL's disk audio driver: volume 100, 50 and 0 give amplitudes 1 : 0.5 : 0 in the
// first game and again in the next; muting silences the running track and unmuting brings it back.
#include "support/gamesession.h"

#include "platform/audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <thread>

namespace {

// The root mean square of at most count 16-bit samples of a capture, from the first at or after
// from whose size reaches level: a capture opens with silence until the track starts, and a
// level in proportion to the volume finds the same place in the track at every volume.
double loudness(const std::string& path, int level, size_t from = 0, size_t count = 44100) {
    std::vector<uint8_t> b;
    testdata::readFile(path, b);
    auto at = [&](size_t i) { return static_cast<int16_t>(b[i] | b[i + 1] << 8); };
    size_t i = from * 2, n = 0;
    while (i + 1 < b.size() && std::abs(at(i)) < level) {
        i += 2;
    }
    double sum = 0;
    for (; i + 1 < b.size() && n < count; i += 2, ++n) {
        sum += static_cast<double>(at(i)) * at(i);
    }
    return n ? std::sqrt(sum / static_cast<double>(n)) : -1.0; // -1: nothing captured
}

TEST(Music, LoudnessIsLinearInTheVolumeInEveryGameAndMuteSilencesIt) {
    testdata::ScratchDir scratch;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1); // a 46 ms buffer every 5 ms
    hwtest::GameSession game;
    ASSERT_TRUE(game.ok());
    const std::string path = scratch.file("music.raw");
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    auto captured = [&] {
        std::error_code none;
        return static_cast<size_t>(std::filesystem::file_size(path, none) / 2);
    };
    // Waits for that many more samples (up to 10 s): the driver writes faster than real time,
    // unless the machine is busy.
    auto more = [&](size_t samples) {
        for (size_t want = captured() + samples, i = 0; captured() < want && i < 1000; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    auto play = [&](size_t samples) { // the same track from its start every time
        game.start(4242);
        more(samples);
    };
    double first[3], next[3];
    for (int v : {0, 1, 2}) {
        MusicSetVolume(100 - 50 * v);
        for (double* game_ : {first, next}) { // the next game opens its own track
            play(3 * 88200);
            game.shutdown();
            game_[v] = loudness(path, 256 * (100 - 50 * v) / 100);
        }
    }
    for (const double* g : {first, next}) {
        ASSERT_GT(g[0], 300.0);
        EXPECT_NEAR(g[1] / g[0], 0.5, 0.015);
        EXPECT_EQ(g[2], 0.0);
    }

    MusicSetVolume(100);
    play(88200);
    MusicToggleMute();
    const size_t muted = captured();
    more(88200);
    MusicToggleMute();
    const size_t unmuted = captured();
    more(88200);
    game.shutdown();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const size_t latency = 3 * 4096; // samples already mixed, and the file's own buffering
    ASSERT_GT(unmuted, muted + 2 * latency);
    EXPECT_GT(loudness(path, 1, 0, muted), 300.0);
    EXPECT_EQ(loudness(path, 0, muted + latency, unmuted - muted - latency), 0.0);
    EXPECT_GT(loudness(path, 0, unmuted + latency), 300.0);
}

} // namespace
