// Reading the command line: every option is optional, and none changes the game itself.
#include "main/options.h"

#include <cstdlib>
#include <cstring>

namespace {

// A whole number from 0 to 100, digits only.
bool readVolume(const char* text, int& volume) {
    const size_t length = std::strlen(text);
    if (length == 0 || length > 3 || std::strspn(text, "0123456789") != length) {
        return false;
    }
    volume = std::atoi(text);
    return volume <= 100;
}

} // namespace

const char* const USAGE =
    "Usage: hoopwind [OPTION]...\n"
    "Fly a team of two in a 3D ball game: choose a side with 1 or 2, quit with Escape.\n"
    "\n"
    "  --fullscreen       play full screen (the default); a window when the display refuses\n"
    "  --windowed         play in a 640 x 480 window\n"
    "  --volume N         music volume from 0 (silent) to 100 (the default); M mutes and\n"
    "                     unmutes while playing\n"
    "  --record FILE      write everything played to the demo FILE\n"
    "  --playdemo FILE    show the demo FILE again, then quit\n"
    "  --timedemo FILE    replay the demo FILE as fast as possible and print the frame rate\n"
    "  --help             print this help and quit\n"
    "  --version          print the version and quit\n"
    "\n"
    "A gamepad plays too: left stick flies, right stick steers, triggers climb and descend,\n"
    "A catches, B switches player, Start starts a new game, Back held for a second quits.\n"
    "\n"
    "The game data is read from the current folder, or else from the folder installed beside\n"
    "the program.\n";

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    options = Options();
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        DemoMode demo = DemoMode::NONE;
        if (std::strcmp(arg, "--windowed") == 0) {
            options.fullscreen = false;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            options.fullscreen = true;
        } else if (std::strcmp(arg, "--help") == 0) {
            options.help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.version = true;
        } else if (std::strcmp(arg, "--record") == 0) {
            demo = DemoMode::RECORD;
        } else if (std::strcmp(arg, "--playdemo") == 0) {
            demo = DemoMode::PLAY;
        } else if (std::strcmp(arg, "--timedemo") == 0) {
            demo = DemoMode::TIME;
        } else if (std::strcmp(arg, "--volume") == 0 || std::strncmp(arg, "--volume=", 9) == 0) {
            const char* value = arg[8] == '=' ? arg + 9 : i + 1 < argc ? argv[++i] : "";
            if (!readVolume(value, options.volume)) {
                error =
                    std::string("--volume wants a whole number from 0 to 100, not '") + value + "'";
                return false;
            }
        } else {
            error = std::string("unknown option '") + arg + "'";
            return false;
        }
        if (demo != DemoMode::NONE) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = std::string("option '") + arg + "' needs a file name";
                return false;
            }
            if (options.demo != DemoMode::NONE) {
                error = "only one of --record, --playdemo and --timedemo at a time";
                return false;
            }
            options.demo = demo;
            options.demoPath = argv[++i];
        }
    }
    return true;
}
