// The game without one of its data files, and without any: it starts, is played to game over
// and restarted, the missing piece simply absent (no model, no picture, no text, no music) and
// no message shown.
#include "reliability/gamesession.h"
#include "reliability/playthrough.h"

#include "cball/cball.h"
#include "contentplayer/contentplayer.h"
#include "main/background.h"
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "particles/particleemitter.h"
#include "platform/headless.h"
#include "player/player.h"
#include "scene3ds/errlist3ds.h"
#include "static_objects/goal.h"
#include "static_objects/stadium.h"
#include "team/team.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace reliability {

namespace {

// The scene library's failure flag outlives a game; each case starts without an earlier one's.
void freshSceneErrors() {
    ClearErrList3ds();
}

// Each model is present exactly when its file is not the missing one.
void expectModels(const std::string& missing) {
    EXPECT_EQ(stadium->hasShape(), missing != "mesh/stadium.3ds");
    for (GoalPost* hoop : stadium->goal) {
        EXPECT_EQ(hoop->hasShape(), missing != "mesh/goal.3ds");
    }
    for (Team* side : team) {
        for (Player* p : side->player) {
            EXPECT_EQ(p->hasShape(), missing != "mesh/player.3ds");
        }
    }
}

class MissingFile : public ::testing::TestWithParam<std::string> {};

TEST_P(MissingFile, GamePlaysToGameOverAndRestartsWithThePieceAbsent) {
    const std::string missing = GetParam();
    DataCopy copy(generatedDataDir());
    ASSERT_TRUE(copy.ok());
    ASSERT_EQ(std::remove(copy.path(missing).c_str()), 0) << missing;
    freshSceneErrors();

    GameSession game(copy.dir());
    ASSERT_TRUE(game.ok());
    const uint32_t ticks = 31;
    game.start(ticks);

    // The model that is gone is absent; the others are all there.
    expectModels(missing);
    if (missing == "BG.bmp") {
        EXPECT_EQ(background->texture, 0u);
    } else if (missing == "Star.bmp") {
        EXPECT_EQ(team[0]->player[0]->magicTrail->texture, 0u);
    } else if (missing.rfind("Music/", 0) == 0) {
        // Game_Init draws the track number first after seeding with the tick count.
        std::srand(ticks);
        const std::string chosen = "Music/music" + std::to_string(std::rand() % 2) + ".mp3";
        EXPECT_EQ(music->hasTrack(), chosen != missing) << chosen;
    }

    playToGameOverAndRestart(game);
    expectModels(missing); // the next game, too
    EXPECT_TRUE(headless::messageBoxes().empty()) << headless::messageBoxes().front().text << " / "
                                                  << headless::messageBoxes().front().caption;
}

INSTANTIATE_TEST_SUITE_P(EachDataFile, MissingFile,
                         ::testing::ValuesIn(dataFiles(generatedDataDir())),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(MissingData, NoDataFileAtAll) {
    DataCopy copy(generatedDataDir());
    ASSERT_TRUE(copy.ok());
    for (const std::string& file : dataFiles(copy.dir())) {
        ASSERT_EQ(std::remove(copy.path(file).c_str()), 0) << file;
    }
    freshSceneErrors();
    GameSession game(copy.dir());
    ASSERT_TRUE(game.ok());
    game.start(8);
    EXPECT_FALSE(stadium->hasShape());
    EXPECT_FALSE(team[0]->player[0]->hasShape());
    EXPECT_EQ(background->texture, 0u);
    EXPECT_FALSE(music->hasTrack());
    playToGameOverAndRestart(game);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

} // namespace
} // namespace reliability
