// The command line: window choice, music volume, help, version and the demo options.
#pragma once

#include <string>

// HW_VERSION comes from the build (the project's version), so --version and the package agree.

enum class DemoMode { NONE, RECORD, PLAY, TIME };

struct Options {
    bool fullscreen = true;
    bool modeSwitch = false; // full screen by changing the display mode, as the game first did
    bool help = false;
    bool version = false;
    DemoMode demo = DemoMode::NONE;
    std::string demoPath;
    int volume = 100; // music loudness in percent
};

// Fills options from argv; false with a one-line error for an unknown option, a missing file
// name, a value given to an option without one, two demo options at once, or a volume that is
// not a whole number from 0 to 100. "--name=value" stands for "--name value".
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// The usage text printed by --help (to standard output) and after a bad option (standard error).
extern const char* const USAGE;
