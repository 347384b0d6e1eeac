// Music: the player without a track or a device, and the game's use of it: a track heard while a
// game runs, the old track stopped before a new game's starts, silence after shutdown.
#include "support/gamesession.h"

#include "contentplayer/contentplayer.h"
#include "main/game.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// The audio driver chosen for the object's lifetime; "disk" writes the mixer's signed 16-bit
// output to `path` as it plays.
struct AudioDriver {
    explicit AudioDriver(const char* driver)
        : path("/tmp/hw_music_" + std::to_string(getpid()) + ".raw") {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
        std::remove(path.c_str());
    }
    ~AudioDriver() {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        std::remove(path.c_str());
    }
    long size() const {
        struct stat st;
        return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
    }
    // Waits until the file holds `bytes` (it grows in real time), then gives its loudest sample.
    int loudestOnce(long bytes) const {
        for (int i = 0; i < 100 && size() < bytes; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        int peak = -1;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            unsigned char b[2];
            while (std::fread(b, 1, 2, f) == 2) {
                peak = std::max(peak, std::abs(static_cast<int16_t>(b[0] | b[1] << 8)));
            }
            std::fclose(f);
        }
        return peak;
    }
    const std::string path;
};

TEST(ContentPlayerTest, NoDeviceIsSilentAndHarmless) {
    headless::reset();
    AudioDriver audio("no-such-audio-driver");
    const std::string track = hwtest::dataDir() + "/Music/music1.mp3";
    ContentPlayer player(track.c_str());
    EXPECT_FALSE(player.hasTrack());
    player.play();
    EXPECT_FALSE(player.isPlaying());
    player.stop();
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST(GameMusic, HeardWhileAGameRunsStoppedBeforeTheNextStartsSilentAfterShutdown) {
    AudioDriver audio("disk");
    hwtest::GameSession game;
    ASSERT_TRUE(game.ok());
    game.start();
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->isPlaying());
    game.tap('1');
    EXPECT_GT(audio.loudestOnce(44100 * 4), 1000);
    const long before = audio.size();

    gameState = STATE_GAME_OVER;
    game.tap(VK_RETURN);
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    // The old player closed its device before the new one opened it, so the output file was
    // started afresh; had the old track still held the device, the file would have kept growing.
    EXPECT_LT(audio.size(), before);
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->isPlaying());
    EXPECT_GT(audio.loudestOnce(44100 * 2), 1000);

    game.shutdown();
    EXPECT_EQ(music, nullptr);
    const long closed = audio.size();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(audio.size(), closed);
}

} // namespace
