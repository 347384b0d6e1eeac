// Music in the game: a track heard while a game runs, the old track stopped before a new game's
// starts, silence after shutdown.
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
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// The "disk" audio driver for the object's lifetime: the mixer's signed 16-bit output goes to
// `path` as it plays.
struct DiskAudio {
    DiskAudio() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    }
    ~DiskAudio() {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
    long size() const {
        std::error_code ec;
        const auto n = std::filesystem::file_size(path, ec);
        return ec ? -1 : static_cast<long>(n);
    }
    // Waits until the file holds `bytes` (it grows in real time), then gives its loudest sample.
    int loudest(long bytes) const {
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
    testdata::ScratchDir dir;
    const std::string path = dir.file("music.raw");
};

TEST(GameMusic, HeardWhileAGameRunsStoppedBeforeTheNextStartsSilentAfterShutdown) {
    DiskAudio audio;
    hwtest::GameSession game;
    ASSERT_TRUE(game.ok());
    game.start();
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->isPlaying());
    game.tap('1');
    EXPECT_GT(audio.loudest(44100 * 4), 1000);
    const long before = audio.size();

    gameState = STATE_GAME_OVER;
    game.tap(VK_RETURN);
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    // The old player closed its device before the new one opened it, so the output file was
    // started afresh; had the old track still held the device, the file would have kept growing.
    EXPECT_LT(audio.size(), before);
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->isPlaying());
    EXPECT_GT(audio.loudest(44100 * 2), 1000);

    game.shutdown();
    EXPECT_EQ(music, nullptr);
    const long closed = audio.size();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(audio.size(), closed);
}

} // namespace
