// The command line, where the game looks for its data, and its start values.
#include "main/datafolder.h"
#include "main/gameview.h"
#include "main/options.h"
#include "main/startvalues.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/datafolder.h"

// Any order, the last window choice wins, "--name=value" as "--name value" (not for a switch); a
// demo option needs a file name (missing or empty refused, never read past the end), one only.
TEST(CommandLine, OptionsAndTheMistakesRefusedWithOneLine) {
    const struct {
        std::vector<const char*> args;
        const char* result; // "full"/"window", "+switch", help, version, demo, file; or the error
    } cases[] = {
        {{}, "full 0 0 0 "},
        {{"--windowed"}, "window 0 0 0 "},
        {{"--windowed", "--fullscreen", "--help"}, "full 1 0 0 "},
        {{"--version", "--windowed"}, "window 0 1 0 "},
        {{"--record", "a.hwd", "--windowed"}, "window 0 0 1 a.hwd"},
        {{"--playdemo", "--windowed"}, "full 0 0 2 --windowed"},
        {{"--timedemo", "c"}, "full 0 0 3 c"},
        {{"--record=a b.demo"}, "full 0 0 1 a b.demo"},
        {{"--playdemo", "x=y"}, "full 0 0 2 x=y"},
        {{"--windowed", "--timedemo=t"}, "window 0 0 3 t"},
        {{"--windowed", "--mode-switch"}, "full+switch 0 0 0 "},
        {{"--mode-switch", "--windowed"}, "window+switch 0 0 0 "},
        {{"--record"}, "option '--record' needs a file name"},
        {{"--windowed", "--timedemo"}, "option '--timedemo' needs a file name"},
        {{"--playdemo", ""}, "option '--playdemo' needs a file name"},
        {{"--record="}, "option '--record' needs a file name"},
        {{"--windowed=yes"}, "option '--windowed' takes no value"},
        {{"--record", "a", "--playdemo", "b"},
         "only one of --record, --playdemo and --timedemo at a time"},
        {{"-windowed"}, "unknown option '-windowed'"},
        {{"--speed=3"}, "unknown option '--speed=3'"},
        {{"--volume=0", "--volume", "100"}, "full 0 0 0 "}, // the last one holds; 100 shows nothing
        {{"--volume", "7"}, "full 0 0 0 @7"},
        {{"--volume", "abc"}, "--volume wants a whole number from 0 to 100, not 'abc'"},
        {{"--volume=101"}, "--volume wants a whole number from 0 to 100, not '101'"}};
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"hoopwind"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        argv.push_back(nullptr); // as the system ends the list
        Options o;
        std::string result;
        if (parseOptions(static_cast<int>(argv.size() - 1), argv.data(), o, result))
            result = std::string(o.fullscreen ? "full" : "window") +
                     (o.modeSwitch ? "+switch " : " ") + std::to_string(o.help) + " " +
                     std::to_string(o.version) + " " + std::to_string(static_cast<int>(o.demo)) +
                     " " + o.demoPath + (o.volume == 100 ? "" : "@" + std::to_string(o.volume));
        EXPECT_EQ(result, c.result) << argv.size();
    }
}

// The current folder when it holds the font and the stadium, else the folders beside the program
// in a build tree and in an installed one; a folder missing either file is no data folder.
TEST(DataFolder, CurrentFolderFirstThenBesideTheProgram) {
    EXPECT_EQ(dataFolderCandidates("/opt/hw/games/hoopwind"),
              (std::vector<std::string>{"/opt/hw/games/data", "/opt/hw/games/../share/hoopwind",
                                        "/opt/hw/games/../share/games/hoopwind"}));
    EXPECT_EQ(dataFolderCandidates("/hoopwind")[0], "//data");
    EXPECT_EQ(dataFolderCandidates("hoopwind")[0], "./data");
    testdata::ScratchDir dir;
    ASSERT_TRUE(testdata::writeFile(dir.file("times_new1.glf"), {}));
    for (bool complete : {false, true}) {
        testdata::WorkingDir inside(dir.path());
        ASSERT_TRUE(inside.ok());
        EXPECT_EQ(holdsGameData(dir.path()), complete);
        // Beside this test program there is no data: only a complete current folder is taken.
        testing::internal::CaptureStderr();
        EXPECT_EQ(enterDataFolder(), complete);
        // Where it looked, in order, when nothing held the data.
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("hoopwind: no game data found in " + dir.path() + ", /"),
                  complete ? std::string::npos : 0)
            << said;
        EXPECT_EQ(said.find("share/games/hoopwind; playing without it\n") != std::string::npos,
                  !complete)
            << said;
        EXPECT_EQ(std::filesystem::current_path().string(), dir.path());
        if (!complete) {
            ASSERT_TRUE(std::filesystem::create_directory(dir.file("mesh")));
            ASSERT_TRUE(testdata::writeFile(dir.file("mesh/stadium.3ds"), {}));
        }
    }
}

// Between games in one process every view value goes back to where the program starts it.
TEST(StartValues, ResetPutsTheViewBack) {
    mousePos = POINT{1, 2};
    xpos = 3, yrot = 4, dispPos = true, distBehindPlayer = 5;
    ResetGameGlobals();
    EXPECT_TRUE(mousePos.x == WIDTH_CENTER && mousePos.y == HEIGHT_CENTER && xpos == 0 &&
                yrot == 0 && !dispPos && distBehindPlayer == START_DIST_BEHIND_PLAYER);
}
