// A game to its end and restart, every screen's texts and pictures, the music heard, the layers.
#include "support/gamesession.h"

#include "platform/audio.h"
#include "render/image.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <thread>

namespace {

using hwtest::GameSession;
using hwtest::human;

// A line of text and where it stands in the text plane z = -50.1.
struct Line {
    std::string text;
    float x, y;
};

void expectLines(const GameSession& game, const std::vector<Line>& want) {
    ASSERT_EQ(game.printed().size(), want.size()) << (want.empty() ? "" : want[0].text);
    for (size_t i = 0; i < want.size(); ++i) {
        const hwtest::Printed& p = game.printed()[i];
        EXPECT_EQ(p.text, want[i].text);
        EXPECT_TRUE(std::fabs(p.x - want[i].x) < 1e-3f && std::fabs(p.y - want[i].y) < 1e-3f &&
                    std::fabs(p.z + 50.1f) < 1e-3f)
            << p.text << " at " << p.x << ", " << p.y << ", " << p.z;
    }
}

TEST(Flow, HumanSeekerCatchesTheFlicketTheRestartKeepsViewAndLightsAndEveryResultIsAnnounced) {
    GameSession game;
    ASSERT_TRUE(game.start(7));
    game.frame();
    expectLines(game, {{"Press the Number of the Team You Wish to Play For", -24.2f, 2.75f},
                       {"1 - Emberhold", -21.7f, -2.8f},
                       {"2 - Stormwick", 9.8f, -2.8f}});
    game.tap('2');
    ASSERT_EQ(gameState, STATE_PLAYING);
    // Twice: the dark-rimmed pass, then the fill on top.
    const Line chaser{"Chaser currently in view      Score = 0 pts", -25.2f, 18.89f},
        holder{"No one is holding the Pellum", -12.7f, 17.14f};
    expectLines(game, {chaser, holder, chaser, holder});
    game.tap(VK_TAB);
    game.rightClick();
    game.frame();
    ASSERT_EQ(human(), team[1]->player[1]);
    game.tap(VK_F1); // the position lines under the status line (each drawn twice: rim, fill)
    ASSERT_TRUE(game.printed().size() == 8u && game.printed()[2].text.rfind("X = ", 0) == 0);
    const Line seeker{"Seeker currently in view      Score = 0 pts", -25.2f, 18.89f},
        position{game.printed()[2].text, -23.35f, -18.41f},
        distance{"distBehindPlayer = 33.3000", -11.15f, -16.82f};
    expectLines(game, {seeker, holder, position, distance, seeker, holder, position, distance});
    hwtest::standUnder(flicket);
    game.leftClick();
    EXPECT_TRUE(team[1]->flicketCaught() && !team[0]->flicketCaught());
    game.frames(2);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(team[1]->getScore(), 150);
    game.leftClick(); // on the game-over screen, the Seeker still beside the Flicket: nothing
    game.frame();
    EXPECT_EQ(team[1]->getScore(), 150);

    game.tap(VK_RETURN);
    EXPECT_EQ(gameState, STATE_TEAM_SELECT);
    EXPECT_TRUE(team[0]->getScore() + team[1]->getScore() == 0 && !team[1]->flicketCaught());
    EXPECT_TRUE(view == 1 && USE_LIGHTS); // view and lighting survive into the new game
    game.tap('1');
    ASSERT_EQ(gameState, STATE_PLAYING);
    EXPECT_TRUE(view == 0 && PLAYER_TEAM_ID == 0 && glIsEnabled(GL_LIGHTING));
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) { // both white, with a fifth as ambient
        GLfloat c[8];
        glGetLightfv(light, GL_AMBIENT, c);
        glGetLightfv(light, GL_DIFFUSE, c + 4);
        EXPECT_EQ(std::vector<GLfloat>(c, c + 8),
                  (std::vector<GLfloat>{0.2f, 0.2f, 0.2f, 1, 1, 1, 1, 1}));
    }
    EXPECT_EQ(human(), team[0]->getChaser());

    // Every result: the winner by score (ties to the catcher's line), the foolish line.
    const struct {
        int score[2], catcher;
        const char* lines; // separated by '|'; E, S: the names; *: the foolish catcher's lines
    } endings[] = {
        {{10, 150}, 1, "S has won the game by 140 points!|S -- 150 points|E -- 10 points"},
        {{160, 20}, 0, "E has won the game by 140 points!|E -- 160 points|S -- 20 points"},
        {{170, 150}, 1, "E has won the game by 20 points!|*S!|E -- 170 points|S -- 150 points"},
        {{150, 160}, 0, "S has won the game by 10 points!|*E!|S -- 160 points|E -- 150 points"},
        {{150, 150}, 1, "A tie game! S caught the flicket.|E -- 150 points|S -- 150 points"},
        {{150, 150}, 0, "A tie game! E caught the flicket.|E -- 150 points|S -- 150 points"}};
    for (const auto& e : endings) {
        game.tap(VK_RETURN);
        game.tap('1');
        for (int t : {0, 1})
            team[t]->score = e.score[t], team[t]->caughtFlicket = e.catcher == t;
        gameState = STATE_GAME_ENDING;
        game.frame();
        ASSERT_EQ(gameState, STATE_GAME_OVER);
        expectLines(game, {}); // the ending frame draws nothing
        game.frame();
        const float places[6][2] = {{-23.65f, 4.95f}, {-21.65f, 3.05f}, {-19.4f, 1.3f},
                                    {-23.4f, -3.0f},  {6.5f, -3.0f},    {-16.95f, -17.35f}};
        std::string lines;
        for (const char* c = e.lines; *c; ++c)
            lines += *c == 'E'   ? "Emberhold"
                     : *c == 'S' ? "Stormwick"
                     : *c == '*'
                         ? "and did it without catching the flicket!|Foolish, flicket-catching "
                         : std::string(1, *c);
        const bool six = lines.find("Foolish") != std::string::npos;
        std::vector<Line> want;
        std::istringstream in(lines + "|Enter to Play Again -- ESC to Quit");
        for (std::string text; std::getline(in, text, '|');) {
            const size_t at = six || want.empty() ? want.size() : want.size() + 2;
            want.push_back({text, places[at][0], places[at][1]});
        }
        expectLines(game, want);
    }
}

using Pixels = std::vector<unsigned char>;
using Px = const unsigned char*;
using Test = bool (*)(Px);

// Pixels per world unit in the text plane z = -50.1 (45 degree field of view, 480 rows).
constexpr float kPixelsPerUnit = 240.0f / (50.1f * 0.41421356f);

// The pixels that pass the test, in the whole picture or the box given.
int count(const Pixels& px, Test test, int x0 = 0, int x1 = 640, int y0 = 0, int y1 = 480) {
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, 480); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, 640); ++x)
            n += test(&px[(static_cast<size_t>(y) * 640 + x) * 4]) ? 1 : 0;
    return n;
}

// Text from world (x, y) in the text plane, `units` long; rows count from the bottom.
int inLine(const Pixels& px, float x, float y, float units, Test test) {
    const int column = static_cast<int>(320.0f + x * kPixelsPerUnit);
    const int row = static_cast<int>(240.0f + y * kPixelsPerUnit);
    return count(px, test, column - 4, column + static_cast<int>(units * kPixelsPerUnit), row - 14,
                 row + 14);
}

const Test yellow = [](Px p) { return p[0] > 200 && p[1] > 200 && p[2] < 90; };
const Test red = [](Px p) { return p[0] > 200 && p[1] < 80 && p[2] < 80; };
// The head-up text's outline (0.12, 0, 0); the clear colour of play (0.85, 0.85, 1.0).
const Test rim = [](Px p) { return p[0] > 20 && p[0] < 45 && p[1] < 8 && p[2] < 8; };
const Test notBlack = [](Px p) { return p[0] + p[1] + p[2] > 30; };
const Test sky = [](Px p) {
    return std::abs(p[0] - 217) <= 2 && std::abs(p[1] - 217) <= 2 && p[2] >= 253;
};

TEST(Screens, SplashThenTheWorldUnderTheHeadUpTextThenTheResultOverTheBackground) {
    hwtest::GameSession game;
    ASSERT_TRUE(game.ok());
    Pixels splash; // the one picture shown while the world loads
    headless::setSwapHook(
        [&](int swaps) { splash = swaps == 1 ? headless::readFramebuffer() : Pixels{}; });
    game.start();
    headless::setSwapHook(nullptr);
    EXPECT_EQ(headless::swapCount(), 1);
    ASSERT_GT(count(splash, notBlack), 640 * 480 * 9 / 10);
    // The picture spans the width and the middle three quarters of its height, undistorted.
    ImageRec* bg = LoadBMP(testdata::dataPath("BG.bmp").c_str());
    ASSERT_NE(bg, nullptr);
    for (auto [x, y] : {std::pair{40, 40}, {600, 40}, {40, 440}, {600, 440}}) {
        const int row = static_cast<int>((0.125f + 0.75f * y / 480) * bg->height);
        const unsigned char *t = bg->data + (size_t(row) * bg->width + x * bg->width / 640) * 3,
                            *p = &splash[(size_t(y) * 640 + x) * 4];
        EXPECT_LT(std::abs(p[0] - t[0]) + std::abs(p[1] - t[1]) + std::abs(p[2] - t[2]), 30)
            << x << "," << y;
    }
    FreeImageRec(bg);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST) || glIsEnabled(GL_LIGHTING)) << "selection screen";
    game.frame();
    const Pixels select = headless::readFramebuffer();
    EXPECT_GT(inLine(select, -24.2f, 2.75f, 48.0f, yellow), 600); // the question
    EXPECT_GT(inLine(select, 9.8f, -2.8f, 16.0f, yellow), 200);   // the second team
    game.tap('1');
    game.frames(3);
    const Pixels dark = headless::readFramebuffer();
    EXPECT_LT(count(dark, sky), 640 * 480 * 8 / 10) << "the world covers too little";
    EXPECT_GT(inLine(dark, -25.2f, 18.89f, 40.0f, red), 300); // role and score
    EXPECT_GT(inLine(dark, -12.7f, 17.14f, 24.0f, red), 200); // Pellum holder
    EXPECT_GT(inLine(dark, -25.2f, 18.89f, 40.0f, rim), 300); // its dark outline

    game.tap(VK_TAB);
    game.frame();
    const Pixels lit = headless::readFramebuffer();
    EXPECT_GT(inLine(lit, -25.2f, 18.89f, 40.0f, red), 300);
    int changed = 0;
    for (size_t i = 0; i < lit.size(); i += 4)
        changed += std::abs(lit[i] - dark[i]) + std::abs(lit[i + 1] - dark[i + 1]) > 24;
    EXPECT_GT(changed, 640 * 480 / 20) << "lighting changed too little of the picture";
    EXPECT_GT(count(lit, notBlack), 640 * 480 / 2);

    team[1]->catchFlicket();
    gameState = STATE_GAME_ENDING;
    game.frames(2);
    ASSERT_EQ(gameState, STATE_GAME_OVER);
    const Pixels px = headless::readFramebuffer();
    EXPECT_GT(count(px, notBlack), 640 * 480 * 9 / 10);
    EXPECT_GT(inLine(px, -23.65f, 4.95f, 40.0f, yellow), 600);   // the winner
    EXPECT_GT(inLine(px, -23.4f, -3.0f, 20.0f, yellow), 300);    // its score
    EXPECT_GT(inLine(px, 6.5f, -3.0f, 20.0f, yellow), 300);      // the other score
    EXPECT_GT(inLine(px, -16.95f, -17.35f, 33.0f, yellow), 400); // Enter / ESC
    EXPECT_EQ(count(px, red), 0);                                // no head-up text left over
}

// RMS of up to count samples from the first at or after from that reaches level (a capture opens
// silent; a level in proportion to the volume finds the same place in the track at any volume).
double loudness(const std::string& path, int level, size_t from = 0, size_t count = 44100) {
    std::vector<uint8_t> b;
    testdata::readFile(path, b);
    auto at = [&](size_t i) { return static_cast<int16_t>(b[i] | b[i + 1] << 8); };
    size_t i = from * 2, n = 0;
    while (i + 1 < b.size() && std::abs(at(i)) < level)
        i += 2;
    double sum = 0;
    for (; i + 1 < b.size() && n < count; i += 2, ++n)
        sum += static_cast<double>(at(i)) * at(i);
    return n ? std::sqrt(sum / static_cast<double>(n)) : -1.0; // -1: nothing captured
}

// Music through SDL's disk audio driver: volume 100, 50 and 0 give amplitudes 1 : 0.5 : 0 in the
// first game and again in the next; muting silences the running track and unmuting brings it back.
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
    // Waits for that many more samples (up to 10 s): faster than real time unless the CPU is busy.
    auto more = [&](size_t samples) {
        for (size_t want = captured() + samples, i = 0; captured() < want && i < 1000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    double first[3], next[3];
    for (int v : {0, 1, 2}) {
        MusicSetVolume(100 - 50 * v);
        for (double* game_ : {first, next}) { // the next game opens its own track
            game.start(4242);                 // the same track from its start every time
            more(3 * 88200);
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
    game.start(4242);
    auto toggle = [&] { return more(88200), MusicToggleMute(), captured(); };
    const size_t muted = toggle(), unmuted = toggle();
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

// The source tree keeps its layers, so a seeded include that runs back up fails a test too.
TEST(Layers, IncludesRunAlongTheLayerTable) {
    const std::string root = HW_SOURCE_DIR_DEFAULT;
    const std::string command =
        "python3 '" + root + "/scripts/check-layers' '" + root + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "scripts/check-layers names the violation";
}
