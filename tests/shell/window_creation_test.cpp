// Window creation and teardown: the order of steps, every failure's box, and what is left behind.
#include "main/hoopwind.h"
#include "shell/shell_fixture.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using Box = std::pair<std::string, std::string>;

std::vector<Box> boxes() {
    std::vector<Box> out;
    for (const auto& b : headless::messageBoxes()) {
        out.emplace_back(b.text, b.caption);
    }
    return out;
}

void expectNothingLeft() {
    EXPECT_FALSE(headless::windowExists());
    EXPECT_FALSE(headless::classRegistered());
    EXPECT_FALSE(headless::contextCurrent());
    EXPECT_FALSE(headless::displayModeChanged());
    EXPECT_EQ(hrc, nullptr);
    EXPECT_EQ(hdc, nullptr);
    EXPECT_EQ(hwnd, nullptr);
}

} // namespace

const char* const kRefused = "The Requested Fullscreen Mode is NOT Supported by\nYour Video Card.  "
                             "Use Windowed mode instead?";

// Full screen hides the cursor; refused and answered Yes, the game goes on in a window with the
// cursor shown. Either way teardown leaves nothing behind.
TEST_F(ShellTest, FullScreenOrWhenRefusedAndAnsweredYesAWindowThenNothingLeft) {
    for (headless::Step step : {headless::STEP_COUNT, headless::STEP_CHANGE_DISPLAY_MODE,
                                headless::STEP_FULLSCREEN_TAKES_EFFECT}) {
        SCOPED_TRACE(step);
        headless::reset();
        const bool refused = step != headless::STEP_COUNT;
        if (refused) {
            headless::failStep(step);
            headless::queueAnswer(IDYES);
        }
        ASSERT_TRUE(CreateGLWindow("Hoopwind", 640, 480, 16, true));
        EXPECT_EQ(fullscreen, !refused);
        EXPECT_TRUE(refused || headless::displayModeChanged());
        EXPECT_TRUE(headless::windowShown());
        EXPECT_TRUE(headless::contextCurrent());
        EXPECT_EQ(headless::cursorShowCount(), refused ? 0 : -1);
        if (refused) {
            EXPECT_EQ(boxes(), (std::vector<Box>{{kRefused, "FULLSCREEN Error"}}));
            EXPECT_EQ(headless::messageBoxes()[0].type, MB_YESNO | MB_ICONEXCLAMATION);
        } else {
            EXPECT_TRUE(boxes().empty());
        }
        KillGLWindow();
        expectNothingLeft();
        EXPECT_EQ(headless::cursorShowCount(), 0);
        EXPECT_EQ(boxes().size(), refused ? 1u : 0u);
    }
}

// Each creation step that fails tears down what was made; some say why, some fail silently.
TEST_F(ShellTest, CreationFailuresTearDownWhatWasMade) {
    struct Case {
        headless::Step step;
        const char* text; // "" for a silent failure
    } cases[] = {
        {headless::STEP_REGISTER_CLASS, "Failed to Register the Window Class"},
        {headless::STEP_CREATE_WINDOW, "Window Creation Error."},
        {headless::STEP_GET_DC, "Can't Create A GL Device Context."},
        {headless::STEP_CHOOSE_PIXEL_FORMAT, ""},
        {headless::STEP_SET_PIXEL_FORMAT, ""},
        {headless::STEP_CREATE_CONTEXT, ""},
        {headless::STEP_MAKE_CURRENT, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        headless::reset();
        headless::failStep(c.step);
        EXPECT_FALSE(CreateGLWindow("Hoopwind", 640, 480, 16, false));
        if (*c.text != '\0') {
            EXPECT_EQ(boxes(), (std::vector<Box>{{c.text, "ERROR"}}));
            EXPECT_EQ(headless::messageBoxes()[0].type, MB_OK | MB_ICONEXCLAMATION);
        } else {
            EXPECT_TRUE(boxes().empty());
        }
        expectNothingLeft();
    }
}

TEST_F(ShellTest, RefusedFullScreenAnsweredNoEndsTheProgramWithAFailureStatus) {
    headless::failStep(headless::STEP_CHANGE_DISPLAY_MODE);
    headless::queueAnswer(IDNO);
    EXPECT_NE(WinMain(), 0);
    EXPECT_EQ(boxes(), (std::vector<Box>{{kRefused, "FULLSCREEN Error"},
                                         {"Program Will Now Close", "D'OH!"}}));
    EXPECT_EQ(headless::messageBoxes()[1].type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(fakeGame().inits, 0);
    expectNothingLeft();
}

TEST_F(ShellTest, TeardownReportsEveryFailureAndGoesOn) {
    ASSERT_TRUE(CreateGLWindow("Hoopwind", 640, 480, 16, false));
    HWND window = hwnd;
    HDC dc = hdc;
    HGLRC context = hrc;
    headless::failStep(headless::STEP_RELEASE_CURRENT);
    headless::failStep(headless::STEP_DELETE_CONTEXT);
    headless::failStep(headless::STEP_RELEASE_DC);
    headless::failStep(headless::STEP_DESTROY_WINDOW);
    headless::failStep(headless::STEP_UNREGISTER_CLASS);
    KillGLWindow();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"Release of DC and RC Failed", "SHUTDOWN ERROR"},
                                         {"Release Rendering Context Failed.", "SHUTDOWN ERROR"},
                                         {"Release Device Contect Failed", "SHUTDOWN ERROR"},
                                         {"Could Not Release hWnd", "SHUTDOWN ERROR"},
                                         {"Could Not Unregister Class", "SHUTDOWN ERROR"}}));
    for (const auto& b : headless::messageBoxes()) {
        EXPECT_EQ(b.type, MB_OK | MB_ICONINFORMATION);
    }
    EXPECT_EQ(hrc, nullptr);

    // Release by hand what the failed steps kept, so the next test starts clean.
    headless::reset();
    EXPECT_TRUE(MakeGLContextCurrent(nullptr, nullptr));
    EXPECT_TRUE(DeleteGLContext(context));
    EXPECT_TRUE(ReleaseWindowDeviceContext(window, dc));
    EXPECT_TRUE(DestroyGameWindow(window));
}

TEST_F(ShellTest, CreationFailureEndsWinMainWithoutStartingTheGame) {
    headless::failStep(headless::STEP_CREATE_CONTEXT);
    EXPECT_NE(WinMain(), 0);
    EXPECT_EQ(fakeGame().inits, 0);
    EXPECT_EQ(fakeGame().shutdowns, 0);
    expectNothingLeft();
}
