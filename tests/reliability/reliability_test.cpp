// The whole game over many restarts and without each of its data files.
#include "support/gamesession.h"

#include "contentplayer/contentplayer.h"
#include "main/background.h"
#include "main/game.h"
#include "particles/particleemitter.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "shared/random.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <filesystem>

namespace {

using hwtest::GameSession;
namespace fs = std::filesystem;

int liveTextures() {
    int n = 0;
    for (GLuint name = 1; name < 4096; ++name)
        n += glIsTexture(name) == GL_TRUE ? 1 : 0;
    return n;
}

// The human's Seeker put on the Flicket and clicked: the quickest honest way to a game over.
void catchFlicket(GameSession& game) {
    if (hwtest::human()->type != SEEKER)
        game.rightClick();
    hwtest::standUnder(flicket);
    game.leftClick();
    game.frames(2);
}

// Every play binding held or released at random, the pointer anywhere, clicks now and then.
void playRandomly(GameSession& game, int frames, unsigned seed) {
    const int keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_NUMPAD8, VK_NUMPAD2, VK_PRIOR,
                        VK_NEXT, 'A',      'S',   VK_TAB,  VK_F1,      '0'};
    for (int i = 0; i < frames && gameState == STATE_PLAYING; ++i) {
        seed = seed * 1103515245u + 12345u;
        for (int k = 0; k < 13; ++k)
            headless::setKey(keys[k], (seed >> (k + 8) & 3) == 0);
        headless::setCursor(static_cast<int>(seed % 640), static_cast<int>(seed / 640 % 480));
        if (seed % 23 == 0)
            seed % 2 ? game.leftClick() : game.rightClick();
        game.frame();
    }
    headless::releaseAllKeys();
}

// Sixty games: random play, restarts and game overs; each new game is whole and leaks nothing.
TEST(Endurance, RestartsBuildAFreshGameAndFreeEveryTextureOfTheLast) {
    GameSession game;
    ASSERT_TRUE(game.ok());
    const int beforeGame = liveTextures(); // the font's, made with the window
    game.start(1);
    game.frame();
    const int oneGame = liveTextures();
    ASSERT_GT(oneGame - beforeGame, 10); // background, the models' materials, the four trails
    auto listLength = [] {
        int n = 0;
        for (GameObject* o = hoopwind->head; o != nullptr; o = o->next)
            ++n;
        return n;
    };
    const int objects = listLength();
    for (int cycle = 0; cycle < 60; ++cycle) {
        SCOPED_TRACE(cycle);
        headless::setTickCount(static_cast<uint32_t>(1000 + cycle));
        game.tap(cycle % 2 == 0 ? '1' : '2');
        ASSERT_EQ(gameState, STATE_PLAYING);
        game.frame();
        if (cycle % 10 == 0) {
            catchFlicket(game);
            ASSERT_EQ(gameState, STATE_GAME_OVER);
            game.tap(VK_RETURN);
        } else {
            playRandomly(game, 80, static_cast<unsigned>(cycle));
            ASSERT_TRUE(hwtest::worldPositionsFinite());
            Game_Restart();
            game.frame();
        }
        ASSERT_EQ(gameState, STATE_TEAM_SELECT);
        ASSERT_TRUE(listLength() == objects && !pellum->caught);
        ASSERT_EQ(team[0]->getScore() + team[1]->getScore(), 0);
        ASSERT_EQ(liveTextures(), oneGame);
    }
    game.shutdown();
    EXPECT_EQ(liveTextures(), beforeGame);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

// The files under a folder and those given, sorted.
std::vector<std::string> dataFiles(const std::string& dir, std::vector<std::string> files = {}) {
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), dir).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

void expectModels(const std::string& dir) {
    auto has = [&](const char* file) { return fs::exists(dir + "/" + file); };
    EXPECT_EQ(stadium->hasShape(), has("mesh/stadium.3ds"));
    for (GoalPost* hoop : stadium->goal)
        EXPECT_EQ(hoop->hasShape(), has("mesh/goal.3ds"));
    for (Team* side : team)
        for (Player* p : side->player)
            EXPECT_EQ(p->hasShape(), has("mesh/player.3ds"));
}

// One data file ("" all of them) gone: the game plays and restarts without it, silently.
class MissingData : public ::testing::TestWithParam<std::string> {};

TEST_P(MissingData, GamePlaysAndRestartsWithThePieceAbsent) {
    testdata::ScratchDir copy;
    const std::string dir = copy.file("data");
    fs::copy(hwtest::dataDir(), dir, fs::copy_options::recursive);
    const bool all = GetParam().empty();
    for (const std::string& file : all ? dataFiles(dir) : std::vector<std::string>{GetParam()})
        ASSERT_TRUE(fs::remove(dir + "/" + file)) << file;
    GameSession game(dir);
    ASSERT_TRUE(game.ok());
    const uint32_t ticks = 31;
    game.start(ticks);
    expectModels(dir);
    EXPECT_EQ(background->texture == 0, all || GetParam() == "BG.bmp");
    EXPECT_EQ(team[0]->player[0]->magicTrail->texture == 0, all || GetParam() == "Star.bmp");
    seedGameRandom(ticks); // Game_Init draws the track number first after seeding with the ticks
    const std::string chosen = "Music/music" + std::to_string(gameRandom() % 2) + ".mp3";
    EXPECT_EQ(music->hasTrack(), !all && chosen != GetParam()) << chosen;
    game.frame();
    game.tap('2');
    game.frames(20);
    if (gameState == STATE_PLAYING) // else a computer Seeker was quicker
        catchFlicket(game);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    game.tap(VK_RETURN);
    game.tap('1');
    game.frames(10);
    EXPECT_TRUE(gameState == STATE_PLAYING && hwtest::worldPositionsFinite());
    expectModels(dir); // the next game, too
    EXPECT_TRUE(headless::messageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(EachDataFileAndAll, MissingData,
                         ::testing::ValuesIn(dataFiles(hwtest::dataDir(), {""})));

} // namespace
