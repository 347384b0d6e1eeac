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
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

TEST(GameMusic, HeardWhileAGameRunsStoppedBeforeTheNextStartsSilentAfterShutdown) {
    // The "disk" audio driver writes the mixer's signed 16-bit output to a file as it plays.
    testdata::ScratchDir dir;
    const std::string path = dir.file("music.raw");
    struct Unset {
        ~Unset() {
            unsetenv("SDL_AUDIODRIVER");
            unsetenv("SDL_DISKAUDIOFILE");
        }
    } unset;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    auto size = [&] {
        std::error_code ec;
        return static_cast<long>(std::filesystem::file_size(path, ec));
    };
    // Waits until the file holds `bytes` (it grows in real time), then gives its loudest sample.
    auto loudest = [&](long bytes) {
        for (int i = 0; i < 100 && size() < bytes; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::vector<uint8_t> b;
        testdata::readFile(path, b);
        int peak = -1;
        for (size_t i = 0; i + 1 < b.size(); i += 2) {
            peak = std::max(peak, std::abs(static_cast<int16_t>(b[i] | b[i + 1] << 8)));
        }
        return peak;
    };
    hwtest::GameSession game;
    ASSERT_TRUE(game.ok());
    game.start();
    ASSERT_TRUE(music != nullptr && music->isPlaying());
    game.tap('1');
    EXPECT_GT(loudest(44100 * 4), 1000);
    const long before = size();

    gameState = STATE_GAME_OVER;
    game.tap(VK_RETURN);
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    // The old player closed its device before the new one opened it, so the output file was
    // started afresh; had the old track still held the device, the file would have kept growing.
    EXPECT_LT(size(), before);
    ASSERT_TRUE(music != nullptr && music->isPlaying());
    EXPECT_GT(loudest(44100 * 2), 1000);

    game.shutdown();
    EXPECT_EQ(music, nullptr);
    const long closed = size();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(size(), closed);
}

} // namespace
