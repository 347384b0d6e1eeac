// Frame cost in play with the generated data at 640 x 480: the logic alone (input, collision
// pass, simulation steps), the collision pass alone, and the whole frame with drawing and
// glFinish, lights off and on.
#include <benchmark/benchmark.h>

#include "main/game.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "team/team.h"
#include "support/gamesession.h"
#include "shared/globals.h"

#include <GL/gl.h>

#include <memory>

namespace {

using hwtest::GameSession;

// One frame of play without drawing: the play keys and mouse look, the collision pass, then
// every object's step in list order.
void logicFrame() {
    ApplyPlayKeys();
    ApplyMouseLook();
    hoopwind->checkCollisions();
    hoopwind->stepAllObjects();
}

// A game in play on team 1's side (the side whose two players start in each other's reach, as
// do the other side's), rebuilt whenever a computer Seeker ends it.
class PlayingGame {
  public:
    explicit PlayingGame(bool lights) : lights_(lights), session_(hwtest::dataDir()) { begin(); }
    bool ok() const { return session_.ok(); }
    void keepPlaying() {
        if (gameState != STATE_PLAYING) {
            session_.shutdown();
            begin();
        }
    }
    GameSession& session() { return session_; }

  private:
    void begin() {
        session_.start(4242);
        session_.frame();
        session_.tap('2');
        if (lights_) {
            session_.tap(VK_TAB);
        }
    }
    bool lights_;
    GameSession session_;
};

void FrameLogic(benchmark::State& state) {
    PlayingGame game(false);
    if (!game.ok()) {
        state.SkipWithError("no window");
        return;
    }
    while (state.KeepRunning()) {
        logicFrame();
        if (gameState != STATE_PLAYING) {
            state.PauseTiming();
            game.keepPlaying();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(FrameLogic)->Unit(benchmark::kMicrosecond);

void CollisionPass(benchmark::State& state) {
    PlayingGame game(false);
    if (!game.ok()) {
        state.SkipWithError("no window");
        return;
    }
    while (state.KeepRunning()) {
        hoopwind->checkCollisions();
    }
}
BENCHMARK(CollisionPass)->Unit(benchmark::kMicrosecond);

// The costliest moment of a patrol: two players of opposite sides flying through each other,
// their models in the same place (every mesh sphere overlapping its twin).
void CollisionPassPlayersInOnePlace(benchmark::State& state) {
    PlayingGame game(false);
    if (!game.ok()) {
        state.SkipWithError("no window");
        return;
    }
    Player* a = team[0]->getChaser();
    Player* b = team[1]->getChaser();
    b->xpos = a->xpos;
    b->ypos = a->ypos;
    b->zpos = a->zpos;
    while (state.KeepRunning()) {
        hoopwind->checkCollisions();
    }
}
BENCHMARK(CollisionPassPlayersInOnePlace)->Unit(benchmark::kMicrosecond);

void WholeFrame(benchmark::State& state) {
    const bool lights = state.range(0) != 0;
    PlayingGame game(lights);
    if (!game.ok()) {
        state.SkipWithError("no window");
        return;
    }
    while (state.KeepRunning()) {
        Game_Main();
        glFinish();
        if (gameState != STATE_PLAYING) {
            state.PauseTiming();
            game.keepPlaying();
            state.ResumeTiming();
        }
    }
    state.SetLabel(lights ? "lights on" : "lights off");
}
BENCHMARK(WholeFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
