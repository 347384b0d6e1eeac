// Program entry: the command line, the data folder and demos around the game's own entry point.
#include "main/datafolder.h"
#include "main/hoopwind.h"
#include "main/options.h"
#include "main/worlddigest.h"
#include "platform/audio.h"
#include "platform/demo/demo.h"
#include "platform/msgline.h"

#include <unistd.h>

#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

FILE* digestFile = nullptr;

// One line per frame, "frame digest", when HOOPWIND_DIGEST names a file: two runs of the same
// demo must write the same lines.
void writeDigest(int frame) {
    std::fprintf(digestFile, "%d %016" PRIx64 "\n", frame, worldDigest());
}

// Paths given on the command line are meant from the folder the player started in.
std::string fromStartFolder(const std::string& path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    char here[PATH_MAX];
    return getcwd(here, sizeof here) ? std::string(here) + "/" + path : path;
}

DemoMode demoMode = DemoMode::NONE;

// After the game has closed: the digest file, the demo's end, and the timed replay's figure.
int finishProgram(int status) {
    if (digestFile) {
        demo::setFrameHook(nullptr);
        std::fclose(digestFile);
        digestFile = nullptr;
    }
    const int frames = demo::frames();
    const double seconds = demo::seconds();
    std::string error;
    if (!demo::finish(error)) {
        printMessageLine(error);
        return 1;
    }
    if (demoMode == DemoMode::TIME) {
        std::printf("%d frames, %.2f seconds, %.1f fps\n", frames, seconds,
                    seconds > 0 ? frames / seconds : 0.0);
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        printMessageLine(error + " (hoopwind --help lists the options)");
        return 2;
    }
    if (options.help) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("hoopwind %s\n", HW_VERSION);
        return 0;
    }

    demoMode = options.demo;
    const std::string demoPath = fromStartFolder(options.demoPath);
    const char* digestEnv = std::getenv("HOOPWIND_DIGEST");
    const std::string digestPath = fromStartFolder(digestEnv ? digestEnv : "");

    // A damaged demo is refused before any window opens.
    bool demoStarted = true;
    if (options.demo == DemoMode::RECORD) {
        demoStarted = demo::startRecording(demoPath.c_str(), error);
    } else if (options.demo == DemoMode::PLAY || options.demo == DemoMode::TIME) {
        demoStarted = demo::startPlayback(demoPath.c_str(), options.demo == DemoMode::TIME, error);
    }
    if (!demoStarted) {
        printMessageLine(error);
        return 1;
    }
    if (!digestPath.empty()) {
        digestFile = std::fopen(digestPath.c_str(), "w");
        if (!digestFile) {
            printMessageLine(digestPath + ": cannot write the digest");
            demo::finish(error);
            return 1;
        }
        // A line a frame as it happens, so a watching test knows which frame is on screen.
        std::setvbuf(digestFile, nullptr, _IOLBF, 0);
        demo::setFrameHook(writeDigest);
    }

    MusicSetVolume(options.volume);
    enterDataFolder();
    SetFullscreenModeSwitch(options.modeSwitch);
    return WinMain(options.fullscreen, finishProgram);
}
