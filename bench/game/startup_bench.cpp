// Start-up to the first team-selection frame and a restart, with the pieces that make them up:
// window and font, music, splash image, each model, and the world as a whole.
#include <benchmark/benchmark.h>

#include "contentplayer/contentplayer.h"
#include "main/background.h"
#include "main/game.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"
#include "support/gamesession.h"
#include "render/maxmesh.h"

#include <GL/gl.h>

#include <cstdlib>
#include <unistd.h>

namespace {

using hwtest::GameSession;

// Window, GL context and font, the game built, and its first selection frame on screen.
void StartUpToSelection(benchmark::State& state) {
    const std::string data = hwtest::dataDir();
    while (state.KeepRunning()) {
        GameSession session(data);
        session.start(4242);
        session.frame();
        state.PauseTiming();
        if (!session.ok() || gameState != STATE_TEAM_SELECT) {
            state.SkipWithError("the game did not reach the selection screen");
        }
        session.shutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(StartUpToSelection)->Unit(benchmark::kMillisecond)->Iterations(10);

// Game over to the new game's selection frame.
void Restart(benchmark::State& state) {
    GameSession session(hwtest::dataDir());
    session.start(4242);
    session.frame();
    uint32_t ticks = 1;
    while (state.KeepRunning()) {
        headless::setTickCount(ticks++);
        Game_Restart();
        session.frame();
    }
}
BENCHMARK(Restart)->Unit(benchmark::kMillisecond)->Iterations(20);

// The window with its GL context and the font, as the shell makes them before the game.
void WindowAndFont(benchmark::State& state) {
    const std::string data = hwtest::dataDir();
    while (state.KeepRunning()) {
        GameSession session(data);
        glFinish();
    }
}
BENCHMARK(WindowAndFont)->Unit(benchmark::kMillisecond)->Iterations(10);

// Piece by piece, inside one window.
void Piece(benchmark::State& state, int which) {
    GameSession session(hwtest::dataDir());
    while (state.KeepRunning()) {
        switch (which) {
        case 0: {
            ContentPlayer player("Music/music0.mp3");
            player.play();
            break;
        }
        case 1: {
            BackgroundImage image("BG.bmp");
            image.draw();
            glFinish();
            break;
        }
        case 2: {
            maxMesh m("mesh/stadium.3ds");
            benchmark::DoNotOptimize(m.numMeshes);
            break;
        }
        case 3: {
            maxMesh m("mesh/goal.3ds");
            benchmark::DoNotOptimize(m.numMeshes);
            break;
        }
        case 4: {
            maxMesh m("mesh/player.3ds");
            benchmark::DoNotOptimize(m.numMeshes);
            break;
        }
        default:
            BuildWorld();
            DestroyWorld();
            break;
        }
    }
}
BENCHMARK_CAPTURE(Piece, music, 0)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(Piece, background, 1)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(Piece, stadium_model, 2)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(Piece, hoop_model, 3)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(Piece, player_model, 4)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(Piece, whole_world, 5)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
