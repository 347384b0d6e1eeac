// Window creation and teardown: every failure's box, and nothing left behind.
#include "main/hoopwind.h"
#include "shell/fake_game.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

using Box = std::tuple<std::string, std::string, UINT>; // text, caption, buttons and icon
using Boxes = std::vector<Box>;

Boxes boxes() {
    Boxes out;
    for (const auto& b : headless::messageBoxes()) {
        out.emplace_back(b.text, b.caption, b.type);
    }
    return out;
}

void expectNothingLeft() {
    EXPECT_FALSE(headless::windowExists() || headless::classRegistered() ||
                 headless::contextCurrent() || headless::displayModeChanged());
    EXPECT_TRUE(hrc == nullptr && hdc == nullptr && hwnd == nullptr);
}

const Box kRefused{"The Requested Fullscreen Mode is NOT Supported by\nYour Video Card.  "
                   "Use Windowed mode instead?",
                   "FULLSCREEN Error", MB_YESNO | MB_ICONEXCLAMATION};

} // namespace

// Full screen hides the cursor; refused and answered Yes, a window shows it.
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
        EXPECT_TRUE(headless::windowShown() && headless::contextCurrent());
        EXPECT_EQ(headless::cursorShowCount(), refused ? 0 : -1);
        EXPECT_EQ(boxes(), (refused ? Boxes{kRefused} : Boxes{}));
        KillGLWindow();
        expectNothingLeft();
        EXPECT_EQ(headless::cursorShowCount(), 0);
    }
}

TEST_F(ShellTest, CreationFailuresTearDownWhatWasMadeAndEndWinMain) {
    const std::pair<headless::Step, const char*> cases[] = {
        {headless::STEP_REGISTER_CLASS, "Failed to Register the Window Class"},
        {headless::STEP_CREATE_WINDOW, "Window Creation Error."},
        {headless::STEP_GET_DC, "Can't Create A GL Device Context."},
        {headless::STEP_CHOOSE_PIXEL_FORMAT, nullptr},
        {headless::STEP_SET_PIXEL_FORMAT, nullptr},
        {headless::STEP_CREATE_CONTEXT, nullptr},
        {headless::STEP_MAKE_CURRENT, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        headless::reset();
        headless::failStep(c.first);
        EXPECT_FALSE(CreateGLWindow("Hoopwind", 640, 480, 16, false));
        const Boxes want =
            c.second ? Boxes{{c.second, "ERROR", MB_OK | MB_ICONEXCLAMATION}} : Boxes{};
        EXPECT_EQ(boxes(), want);
        expectNothingLeft();
        headless::reset();
        headless::failStep(c.first);
        EXPECT_NE(WinMain(), 0);
        expectNothingLeft();
    }
    headless::reset();
    headless::failStep(headless::STEP_CHANGE_DISPLAY_MODE);
    headless::queueAnswer(IDNO);
    EXPECT_NE(WinMain(), 0);
    EXPECT_EQ(boxes(), (Boxes{kRefused, {"Program Will Now Close", "D'OH!", MB_OK | MB_ICONSTOP}}));
    expectNothingLeft();
    EXPECT_EQ(fakeGame().inits + fakeGame().shutdowns, 0);
}
