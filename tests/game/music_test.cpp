// Music through SDL's disk audio driver: volume 100, 50 and 0 give amplitudes 1 : 0.5 : 0 in the
// first game and again in the next; muting silences the running track and unmuting brings it back.
#include "support/gamesession.h"

#include "platform/audio.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace {

std::vector<int16_t> samples(const std::string& path) {
    std::vector<uint8_t> bytes;
    testdata::readFile(path, bytes);
    std::vector<int16_t> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return out;
}

// Root mean square of the samples in [from, to) (to clipped to the end).
double rms(const std::vector<int16_t>& s, size_t from, size_t to) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < std::min(to, s.size()); ++i, ++n) {
        sum += static_cast<double>(s[i]) * s[i];
    }
    return n ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
}

size_t samplesSoFar(const std::string& path) {
    struct stat st = {};
    return stat(path.c_str(), &st) == 0 ? static_cast<size_t>(st.st_size) / 2 : 0;
}

void wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class Music : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIODELAY", "5", 1); // a 46 ms buffer every 5 ms
        ASSERT_TRUE(game.ok());
    }
    void TearDown() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        MusicSetVolume(100);
    }
    // One game's music, captured from its start for a while; the same track every time.
    std::string play(const std::string& name, int ms) {
        const std::string path = scratch.file(name);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
        game.start(4242);
        wait(ms);
        return path;
    }
    testdata::ScratchDir scratch;
    hwtest::GameSession game;
};

TEST_F(Music, LoudnessIsLinearInTheVolumeInEveryGame) {
    const int volumes[] = {100, 50, 0};
    double loudness[2][3] = {};
    for (int v = 0; v < 3; ++v) {
        MusicSetVolume(volumes[v]);
        for (int g = 0; g < 2; ++g) { // the next game opens its own track
            const std::vector<int16_t> s = samples(play("music.raw", 300));
            game.shutdown();
            // A second of music from its first sound (the device plays silence until then).
            const size_t first = static_cast<size_t>(
                std::find_if(s.begin(), s.end(), [](int16_t x) { return x != 0; }) - s.begin());
            loudness[g][v] = rms(s, first, first + 88200);
        }
    }
    for (const auto& game : loudness) {
        ASSERT_GT(game[0], 300.0);
        EXPECT_NEAR(game[1] / game[0], 0.5, 0.015);
        EXPECT_EQ(game[2], 0.0);
    }
}

TEST_F(Music, MuteSilencesTheTrackAndUnmuteBringsItBack) {
    const std::string path = play("mute.raw", 150);
    MusicToggleMute();
    const size_t muted = samplesSoFar(path);
    wait(300);
    MusicToggleMute();
    const size_t unmuted = samplesSoFar(path);
    wait(300);
    game.shutdown();
    const std::vector<int16_t> s = samples(path);
    const size_t latency = 3 * 2048 * 2; // buffers already mixed, and the file's own buffering
    ASSERT_GT(unmuted, muted + 2 * latency);
    EXPECT_GT(rms(s, 0, muted), 300.0);
    EXPECT_EQ(rms(s, muted + latency, unmuted), 0.0);
    EXPECT_GT(rms(s, unmuted + latency, s.size()), 300.0);
    EXPECT_FALSE(MusicMuted());
}

} // namespace
