// The command line, and where the game looks for its data.
#include "main/datafolder.h"
#include "main/options.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "support/datafolder.h"

// Options in any order, the last window choice winning; a demo option needs its file name (a
// missing or empty one is refused, never read past the end), and only one demo option is taken.
TEST(CommandLine, OptionsAndTheMistakesRefusedWithOneLine) {
    const struct {
        std::vector<const char*> args;
        const char* result; // "window help version demo file", or the error
    } cases[] = {
        {{}, "1 0 0 0 "},
        {{"--windowed"}, "0 0 0 0 "},
        {{"--windowed", "--fullscreen", "--help"}, "1 1 0 0 "},
        {{"--version", "--windowed"}, "0 0 1 0 "},
        {{"--record", "a.hwd", "--windowed"}, "0 0 0 1 a.hwd"},
        {{"--playdemo", "--windowed"}, "1 0 0 2 --windowed"},
        {{"--timedemo", "c"}, "1 0 0 3 c"},
        {{"--record"}, "option '--record' needs a file name"},
        {{"--windowed", "--timedemo"}, "option '--timedemo' needs a file name"},
        {{"--playdemo", ""}, "option '--playdemo' needs a file name"},
        {{"--record", "a", "--playdemo", "b"},
         "only one of --record, --playdemo and --timedemo at a time"},
        {{"-windowed"}, "unknown option '-windowed'"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"hoopwind"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        argv.push_back(nullptr); // as the system ends the list
        Options o;
        std::string result;
        if (parseOptions(static_cast<int>(argv.size() - 1), argv.data(), o, result)) {
            result = std::to_string(o.fullscreen) + " " + std::to_string(o.help) + " " +
                     std::to_string(o.version) + " " + std::to_string(static_cast<int>(o.demo)) +
                     " " + o.demoPath;
        }
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
    char here[PATH_MAX];
    for (bool complete : {false, true}) {
        testdata::WorkingDir inside(dir.path());
        ASSERT_TRUE(inside.ok());
        EXPECT_EQ(holdsGameData(dir.path()), complete);
        // Beside this test program there is no data: only a complete current folder is taken.
        EXPECT_EQ(enterDataFolder(), complete);
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        EXPECT_EQ(std::string(here), dir.path());
        if (!complete) {
            ASSERT_EQ(mkdir(dir.file("mesh").c_str(), 0755), 0);
            ASSERT_TRUE(testdata::writeFile(dir.file("mesh/stadium.3ds"), {}));
        }
    }
}
