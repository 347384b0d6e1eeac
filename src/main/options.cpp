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
    "  --fullscreen       play full screen at the desktop's resolution (the default)\n"
    "  --windowed         play in a 640 x 480 window\n"
    "  --mode-switch      play full screen by switching the display to 640 x 480; a window\n"
    "                     when the display refuses\n"
    "  --volume N         music volume from 0 (silent) to 100 (the default); M mutes and\n"
    "                     unmutes while playing\n"
    "  --record FILE      write everything played to the demo FILE\n"
    "  --playdemo FILE    show the demo FILE again, then quit\n"
    "  --timedemo FILE    replay the demo FILE as fast as possible and print the frame rate\n"
    "  --help             print this help and quit\n"
    "  --version          print the version and quit\n"
    "Options taking a value also accept --option=VALUE.\n"
    "\n"
    "Keys: Alt+Enter or F11 switch between full screen and a window at any time.\n"
    "A gamepad plays too: left stick flies, right stick steers, triggers climb and descend,\n"
    "A catches, B switches player, Start starts a new game, Back held for a second quits.\n"
    "\n"
    "The game data is read from the current folder, or else from the folder installed beside\n"
    "the program.\n";

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    options = Options();
    for (int i = 1; i < argc; ++i) {
        // "--name=value" is the same as "--name value".
        std::string arg = argv[i];
        const char* value = nullptr;
        const size_t equals = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = argv[i] + equals + 1;
            arg.erase(equals);
        }
        DemoMode demo = DemoMode::NONE;
        if (arg == "--windowed") {
            options.fullscreen = false;
        } else if (arg == "--fullscreen") {
            options.fullscreen = true;
        } else if (arg == "--mode-switch") {
            options.fullscreen = true;
            options.modeSwitch = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--record") {
            demo = DemoMode::RECORD;
        } else if (arg == "--playdemo") {
            demo = DemoMode::PLAY;
        } else if (arg == "--timedemo") {
            demo = DemoMode::TIME;
        } else if (arg == "--volume") {
            if (!value) {
                value = i + 1 < argc ? argv[++i] : "";
            }
            if (!readVolume(value, options.volume)) {
                error =
                    std::string("--volume wants a whole number from 0 to 100, not '") + value + "'";
                return false;
            }
            continue;
        } else {
            error = std::string("unknown option '") + argv[i] + "'";
            return false;
        }
        if (demo == DemoMode::NONE) {
            if (value) {
                error = "option '" + arg + "' takes no value";
                return false;
            }
            continue;
        }
        if (!value) {
            value = i + 1 < argc ? argv[++i] : "";
        }
        if (value[0] == '\0') {
            error = "option '" + arg + "' needs a file name";
            return false;
        }
        if (options.demo != DemoMode::NONE) {
            error = "only one of --record, --playdemo and --timedemo at a time";
            return false;
        }
        options.demo = demo;
        options.demoPath = value;
    }
    return true;
}
