// The command line: "--name=value" as "--name value", the full-screen choices, and refusals.
#include "main/options.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Options, ValuesFollowOrJoinTheirOptionAndBadLinesAreRefused) {
    const struct {
        std::vector<const char*> args;
        bool ok;
        bool fullscreen, modeSwitch;
        DemoMode demo;
        const char* path; // or the error's start
    } cases[] = {
        {{}, true, true, false, DemoMode::NONE, ""},
        {{"--record=a b.demo"}, true, true, false, DemoMode::RECORD, "a b.demo"},
        {{"--playdemo", "x=y"}, true, true, false, DemoMode::PLAY, "x=y"},
        {{"--windowed", "--timedemo=t"}, true, false, false, DemoMode::TIME, "t"},
        {{"--windowed", "--mode-switch"}, true, true, true, DemoMode::NONE, ""},
        {{"--mode-switch", "--windowed"}, true, false, true, DemoMode::NONE, ""},
        {{"--record="}, false, true, false, DemoMode::NONE, "option '--record' needs"},
        {{"--record"}, false, true, false, DemoMode::NONE, "option '--record' needs"},
        {{"--windowed=yes"}, false, true, false, DemoMode::NONE, "option '--windowed' takes"},
        {{"--volume=3"}, false, true, false, DemoMode::NONE, "unknown option '--volume=3'"},
        {{"--record=a", "--playdemo=b"}, false, true, false, DemoMode::NONE, "only one of"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"hoopwind"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options o;
        std::string error;
        const bool ok = parseOptions(static_cast<int>(argv.size()), argv.data(), o, error);
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(none)");
        ASSERT_EQ(ok, c.ok) << error;
        if (!ok) {
            EXPECT_EQ(error.rfind(c.path, 0), 0u) << error;
            continue;
        }
        EXPECT_TRUE(o.fullscreen == c.fullscreen && o.modeSwitch == c.modeSwitch);
        EXPECT_TRUE(o.demo == c.demo && o.demoPath == c.path);
    }
}
