// Records a scripted desktop session for the browser test: the headless game plays as a person
// would (a team chosen, flight, steering, clicks, lights), waits for a catch, restarts, plays the
// other side and quits with Escape after at least 1,500 frames. Writes the demo, the per-frame
// digest, the pictures of the chosen frames (PPM) and the frame numbers of the catch and the
// game-over screen. Usage: hw_web_session OUTPUT_FOLDER (run from the data folder).
#include "main/hoopwind.h"
#include "main/world.h"
#include "main/worlddigest.h"
#include "platform/demo/demo.h"
#include "platform/headless.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

std::string out;
FILE* digest = nullptr;
int catchFrame = 0, overFrame = 0, restartFrame = 0, secondGame = 0;
std::map<std::string, int> shots;

void snapshot(const char* name, int frame) {
    shots[name] = frame;
    headless::writePPM((out + "/" + name + ".ppm").c_str(), headless::readFramebuffer(), 640, 480);
}

void hold(int key, int frame, int from, int to) {
    headless::setKey(key, frame >= from && frame < to);
}

// Everything is keyed to the frame count, so the session is the same on every run.
void script(int n) {
    std::fprintf(digest, "%d %016" PRIx64 "\n", n, worldDigest());
    headless::setTickCount(5000 + 16u * static_cast<unsigned>(n));
    if (n == 40) {
        snapshot("select", n);
    }
    hold('1', n, 45, 46);
    hold(VK_LEFT, n, 60, 90);
    hold(VK_NUMPAD8, n, 90, 120);
    hold(VK_TAB, n, 130, 131);
    if (n >= 100 && n < 140) {
        headless::setCursor(320 + (n % 7) - 3, 240 + (n % 5) - 2); // mouse look
    }
    if (n == 150 || n == 151) {
        headless::postMessage(n == 150 ? WM_RBUTTONDOWN : WM_LBUTTONDOWN); // Seeker, then a catch
    }
    if (n == 300) {
        snapshot("play", n);
    }
    if (gameState == STATE_GAME_ENDING && !catchFrame) {
        catchFrame = n;
        snapshot("catch", n);
    }
    if (catchFrame && n == catchFrame + 30) {
        overFrame = n;
        snapshot("gameover", n);
    }
    headless::setKey(VK_RETURN, catchFrame && n == catchFrame + 60);
    if (catchFrame && !restartFrame && gameState == STATE_TEAM_SELECT) {
        restartFrame = n;
    }
    if (restartFrame && !secondGame && n >= restartFrame + 20) {
        secondGame = n;
    }
    headless::setKey('2', secondGame && n == secondGame);
    headless::setKey(VK_ESCAPE, secondGame && n >= 1500 && n >= secondGame + 300);
    if (n > 12000) {
        headless::postMessage(WM_CLOSE); // no catch in over three minutes of play
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hw_web_session OUTPUT_FOLDER\n");
        return 2;
    }
    out = argv[1];
    setenv("SDL_AUDIODRIVER", "dummy", 0); // the music is the page's business here
    std::string error;
    digest = std::fopen((out + "/record.digest").c_str(), "w");
    if (!digest || !demo::startRecording((out + "/session.hwd").c_str(), error)) {
        std::fprintf(stderr, "hw_web_session: %s\n", digest ? error.c_str() : "no digest file");
        return 1;
    }
    headless::reset();
    headless::setCursor(320, 240);
    headless::setSwapHook(script);
    const int status = WinMain(false);
    std::fclose(digest);
    if (!demo::finish(error) || status != 0 || !catchFrame || !secondGame) {
        std::fprintf(stderr, "hw_web_session: status %d, catch at %d, second game at %d %s\n",
                     status, catchFrame, secondGame, error.c_str());
        return 1;
    }
    FILE* frames = std::fopen((out + "/frames.txt").c_str(), "w");
    for (const auto& [name, frame] : shots) {
        std::fprintf(frames, "%s %d\n", name.c_str(), frame);
    }
    std::fprintf(frames, "total %d\n", demo::frames());
    return std::fclose(frames) == 0 ? 0 : 1;
}
