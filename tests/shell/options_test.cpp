// The command line: "--name=value" as "--name value", the full-screen choices, and refusals.
#include "main/options.h"

#include <gtest/gtest.h>

#include <vector>

// What a command line comes to: "full"/"window", "+switch", the demo mode and file; or the error.
TEST(Options, ValuesFollowOrJoinTheirOptionAndBadLinesAreRefused) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--record=a b.demo"}, "full 1 a b.demo"},
        {{"--playdemo", "x=y"}, "full 2 x=y"},
        {{"--windowed", "--timedemo=t"}, "window 3 t"},
        {{"--windowed", "--mode-switch"}, "full+switch 0 "},
        {{"--mode-switch", "--windowed"}, "window+switch 0 "},
        {{"--record="}, "option '--record' needs a file name"},
        {{"--windowed=yes"}, "option '--windowed' takes no value"},
        {{"--speed=3"}, "unknown option '--speed=3'"},
    };
    for (const auto& [args, want] : cases) {
        std::vector<const char*> argv = {"hoopwind"};
        argv.insert(argv.end(), args.begin(), args.end());
        Options o;
        std::string error;
        if (parseOptions(static_cast<int>(argv.size()), argv.data(), o, error)) {
            error = std::string(o.fullscreen ? "full" : "window") +
                    (o.modeSwitch ? "+switch " : " ") + std::to_string(static_cast<int>(o.demo)) +
                    " " + o.demoPath;
        }
        EXPECT_EQ(error, want);
    }
}
