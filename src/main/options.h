// The command line: window choice, help, version and the demo options.
#pragma once

#include <string>

// The build may set the version (e.g. from the package); otherwise this one.
#ifndef HW_VERSION
#define HW_VERSION "1.0.0"
#endif

enum class DemoMode { NONE, RECORD, PLAY, TIME };

struct Options {
    bool fullscreen = true;
    bool help = false;
    bool version = false;
    DemoMode demo = DemoMode::NONE;
    std::string demoPath;
};

// Fills options from argv; false with a one-line error for an unknown option, a missing file
// name or two demo options at once.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// The usage text printed by --help (to standard output) and after a bad option (standard error).
extern const char* const USAGE;
