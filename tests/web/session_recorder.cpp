// Records a scripted desktop session for the browser test: the headless game plays as a person
// would (a team chosen, flight, steering, clicks, lights), waits for a catch, restarts, plays the
// other side and quits with Escape after at least 1,500 frames. Writes the demo, the per-frame
// digest, pictures (PPM) of the selection screen, frame 300, the catch and the game-over screen,
// and their frame numbers. Usage: hw_web_session OUTPUT_FOLDER (run from the data folder).
#include "main/hoopwind.h"
#include "main/world.h"
#include "main/worlddigest.h"
#include "platform/demo/demo.h"
#include "platform/headless.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string out;
FILE* digest = nullptr;
FILE* frames = nullptr;
int caught = 0, restarted = 0;

void snapshot(const char* name, int frame) {
    std::fprintf(frames, "%s %d\n", name, frame);
    headless::writePPM((out + "/" + name + ".ppm").c_str(), headless::readFramebuffer(), 640, 480);
}

// Everything is keyed to the frame count and the game's state, so every run records the same.
void script(int n) {
    std::fprintf(digest, "%d %016" PRIx64 "\n", n, worldDigest());
    headless::setTickCount(5000 + 16u * static_cast<unsigned>(n));
    if (n == 40 || n == 300)
        snapshot(n == 40 ? "select" : "play", n);
    headless::setKey('1', n == 45);
    headless::setKey(VK_LEFT, n >= 60 && n < 90);
    headless::setKey(VK_NUMPAD8, n >= 90 && n < 120);
    headless::setKey(VK_TAB, n == 130);
    if (n >= 100 && n < 140)
        headless::setCursor(320 + (n % 7) - 3, 240 + (n % 5) - 2); // mouse look
    if (n == 150 || n == 151)
        headless::postMessage(n == 150 ? WM_RBUTTONDOWN : WM_LBUTTONDOWN); // Seeker, then a catch
    if (gameState == STATE_GAME_ENDING && !caught)
        snapshot("catch", caught = n);
    if (caught && n == caught + 30)
        snapshot("gameover", n);
    headless::setKey(VK_RETURN, caught && n == caught + 60);
    if (caught && !restarted && gameState == STATE_TEAM_SELECT)
        restarted = n;
    headless::setKey('2', restarted && n == restarted + 20);
    headless::setKey(VK_ESCAPE, restarted && n >= 1500 && n >= restarted + 300);
    if (n > 12000)
        headless::postMessage(WM_CLOSE); // no catch in over three minutes of play
}

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0); // the music is the page's business here
    std::string error;
    out = argc == 2 ? argv[1] : "";
    digest = argc == 2 ? std::fopen((out + "/record.digest").c_str(), "w") : nullptr;
    frames = argc == 2 ? std::fopen((out + "/frames.txt").c_str(), "w") : nullptr;
    if (!digest || !frames || !demo::startRecording((out + "/session.hwd").c_str(), error)) {
        std::fprintf(stderr, "usage: hw_web_session OUTPUT_FOLDER (writable) %s\n", error.c_str());
        return 2;
    }
    headless::reset();
    headless::setCursor(320, 240);
    headless::setSwapHook(script);
    const int status = WinMain(false);
    const bool written =
        std::fclose(digest) == 0 && std::fclose(frames) == 0 && demo::finish(error);
    if (!written || status != 0 || !restarted || demo::frames() < 1500) {
        std::fprintf(stderr, "hw_web_session: status %d, catch at %d, restart at %d %s\n", status,
                     caught, restarted, error.c_str());
        return 1;
    }
    return 0;
}
