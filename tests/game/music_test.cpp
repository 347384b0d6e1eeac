// Music: the player without a track or a device, and the game's use of it: a track heard while a
// game runs, the old track stopped before a new game's starts, silence after shutdown.
#include "support/gamesession.h"

#include "platform/headless.h"

#include <gtest/gtest.h>

#include "contentplayer/contentplayer.h"
#include "main/game.h"
#include "main/hoopwind.h"
#include "main/world.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using hwtest::dataDir;

// Sets an environment variable for the object's lifetime.
class EnvVar {
  public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~EnvVar() {
        if (had_) {
            setenv(name_, old_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

std::string scratchPath(const char* what) {
    char buf[256];
    std::snprintf(buf, sizeof buf, "/tmp/hw_music_%d_%s", static_cast<int>(getpid()), what);
    return buf;
}

long fileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

// Largest absolute 16-bit sample in the file from byte `from` on (the disk driver writes the
// mixer's signed 16-bit stereo output as it plays).
int loudest(const std::string& path, long from = 0) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        return -1;
    }
    std::fseek(f, from, SEEK_SET);
    int peak = 0;
    unsigned char b[2];
    while (std::fread(b, 1, 2, f) == 2) {
        const int v = static_cast<int16_t>(b[0] | b[1] << 8);
        peak = std::max(peak, v < 0 ? -v : v);
    }
    std::fclose(f);
    return peak;
}

void waitMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Waits until the file holds at least `bytes` (the disk driver writes in real time).
bool waitForBytes(const std::string& path, long bytes) {
    for (int i = 0; i < 100; ++i) {
        if (fileSize(path) >= bytes) {
            return true;
        }
        waitMs(50);
    }
    return false;
}

class DiskAudio {
  public:
    explicit DiskAudio(const char* what)
        : path(scratchPath(what)), driver_("SDL_AUDIODRIVER", "disk"),
          file_("SDL_DISKAUDIOFILE", path) {
        std::remove(path.c_str());
    }
    ~DiskAudio() { std::remove(path.c_str()); }
    const std::string path;

  private:
    EnvVar driver_;
    EnvVar file_;
};

TEST(ContentPlayerTest, MissingFileOrNoDeviceIsSilentAndHarmless) {
    headless::reset();
    {
        DiskAudio audio("missing");
        ContentPlayer player("Music/no_such_track.mp3");
        EXPECT_FALSE(player.hasTrack());
        player.play();
        player.stop();
        EXPECT_FALSE(player.isPlaying());
        waitMs(100);
        EXPECT_LE(fileSize(audio.path), 0); // the device was never opened
    }
    {
        EnvVar driver("SDL_AUDIODRIVER", "no-such-audio-driver");
        const std::string track = dataDir() + "/Music/music1.mp3";
        ContentPlayer player(track.c_str());
        EXPECT_FALSE(player.hasTrack());
        player.play();
        EXPECT_FALSE(player.isPlaying());
    }
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST(GameMusic, HeardWhileAGameRunsStoppedBeforeTheNextStartsSilentAfterShutdown) {
    DiskAudio audio("game");
    hwtest::GameSession game;
    ASSERT_TRUE(game.ok());
    game.start();
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->isPlaying());
    game.tap('1');
    ASSERT_TRUE(waitForBytes(audio.path, 44100 * 4));
    EXPECT_GT(loudest(audio.path), 1000);
    const long before = fileSize(audio.path);

    gameState = STATE_GAME_OVER;
    game.tap(VK_RETURN);
    ASSERT_EQ(gameState, STATE_TEAM_SELECT);
    // The old player closed its device before the new one opened it, so the output file was
    // started afresh; had the old track still held the device, the file would have kept growing.
    EXPECT_LT(fileSize(audio.path), before);
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->isPlaying());
    ASSERT_TRUE(waitForBytes(audio.path, 44100 * 2));
    EXPECT_GT(loudest(audio.path), 1000);

    game.shutdown();
    EXPECT_EQ(music, nullptr);
    const long closed = fileSize(audio.path);
    waitMs(300);
    EXPECT_EQ(fileSize(audio.path), closed);
}

} // namespace
