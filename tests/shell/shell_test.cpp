// The shell alone (windows, the message loop, the window procedure, the view) with a fake game.
#include "main/game.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "platform/headless.h"
#include "shared/globals.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// The recording game: a frame clears to a known colour so tests can see that frames were drawn.
struct FakeGame {
    int inits = 0, frames = 0, shutdowns = 0, catches = 0, switches = 0;
    std::function<void()> onFrame; // runs inside Game_Main, after the frame is drawn
};

FakeGame fakeGame;

struct ShellTest : ::testing::Test {
    void SetUp() override { TearDown(); }
    void TearDown() override {
        headless::reset();
        fakeGame = FakeGame();
    }
};

int Game_Init() {
    ++fakeGame.inits;
    return 1;
}

int Game_Main() {
    ++fakeGame.frames;
    glClearColor(0.0f, 0.5f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (fakeGame.onFrame)
        fakeGame.onFrame();
    return 1;
}

int Game_Shutdown() {
    ++fakeGame.shutdowns;
    return 1;
}

void Game_CatchAttempt() {
    ++fakeGame.catches;
}
void Game_SwitchPlayer() {
    ++fakeGame.switches;
}

namespace {

using Box = std::tuple<std::string, std::string, UINT>; // text, caption, buttons and icon
using Boxes = std::vector<Box>;

Boxes boxes() {
    Boxes out;
    for (const auto& b : headless::messageBoxes())
        out.emplace_back(b.text, b.caption, b.type);
    return out;
}

const auto failAt = [](headless::Step step) { headless::reset(), headless::failStep(step); };

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
        failAt(step);                 // STEP_COUNT: none fails
        headless::queueAnswer(IDYES); // asked only when refused
        const bool refused = step != headless::STEP_COUNT;
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
        failAt(c.first);
        EXPECT_FALSE(CreateGLWindow("Hoopwind", 640, 480, 16, false));
        const Boxes want =
            c.second ? Boxes{{c.second, "ERROR", MB_OK | MB_ICONEXCLAMATION}} : Boxes{};
        EXPECT_EQ(boxes(), want);
        expectNothingLeft();
        failAt(c.first);
        EXPECT_NE(WinMain(), 0);
        expectNothingLeft();
    }
    failAt(headless::STEP_CHANGE_DISPLAY_MODE);
    headless::queueAnswer(IDNO);
    EXPECT_NE(WinMain(), 0);
    EXPECT_EQ(boxes(), (Boxes{kRefused, {"Program Will Now Close", "D'OH!", MB_OK | MB_ICONSTOP}}));
    expectNothingLeft();
    EXPECT_EQ(fakeGame.inits + fakeGame.shutdowns, 0);
}

// A context has at least the depth bits its pixel format asked for, or none is made.
TEST_F(ShellTest, ContextsHaveTheDepthTheirPixelFormatAskedFor) {
    ASSERT_TRUE(CreateGLWindow("Hoopwind", 640, 480, 16, false));
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_GE(bits, 16);
    for (int asked : {bits, bits + 1}) {
        const PixelFormatRequest request = {16, asked, true};
        ASSERT_TRUE(SetPixelFormat(hdc, ChoosePixelFormat(hdc, &request), &request));
        HGLRC rc = CreateGLContext(hdc);
        EXPECT_EQ(rc != nullptr, asked == bits) << asked;
        DeleteGLContext(rc);
    }
    KillGLWindow();
}

TEST(StartValues, LightsOffAndTheWorldOffsetAtTheStartCamera) {
    EXPECT_TRUE(!USE_LIGHTS && xoffset == 0.0f && yoffset == -2.34f && zoffset == -45.0f);
    EXPECT_TRUE(xpos == 0 && yrot == 0 && pivot == 0 && ytrans == -2.34f && zpos == -45.0f);
    EXPECT_TRUE(lightPos[0] == 0 && lightPos[1] == 0 && lightPos[2] == 2000 && lightPos[3] == 0);
}

// A resize reaches the viewport; a close from inside a frame finishes it, then quits with 0.
TEST_F(ShellTest, RunsOneFramePerSwapUntilACloseFromInsideAFrame) {
    headless::setSwapHook([](int swaps) {
        if (swaps == 1)
            headless::postMessage(WM_SIZE, 0, MAKELPARAM(320, 200));
        else if (swaps == 2) {
            GLint viewport[4];
            glGetIntegerv(GL_VIEWPORT, viewport);
            EXPECT_TRUE(viewport[2] == 320 && viewport[3] == 200);
            auto px = headless::readFramebuffer(); // the fake frame clears to (0, 0.5, 1)
            EXPECT_TRUE(px[0] == 0 && std::abs(px[1] - 128) <= 1 && px[2] == 255);
        }
    });
    fakeGame.onFrame = [] {
        if (fakeGame.frames == 5)
            WndProc(hwnd, WM_CLOSE, 0, 0), active = false;
    };
    EXPECT_EQ(WinMain(false), 0); // a window: the picture fills whatever size it is given
    EXPECT_TRUE(fakeGame.inits == 1 && fakeGame.shutdowns == 1);
    EXPECT_TRUE(fakeGame.frames == 5 && headless::swapCount() == 5);
    EXPECT_FALSE(headless::windowExists() || headless::classRegistered());
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(ShellTest, MinimisingStopsFramesAndSwapsUntilRestored) {
    int framesWhenMinimised = -1;
    headless::setSwapHook([&](int swaps) {
        if (swaps == 3)
            headless::postMessage(WM_ACTIVATE, MAKEWPARAM(0, 1)); // minimised
        else if (swaps == 6)
            headless::postMessage(WM_CLOSE);
    });
    headless::setIdleHook([&] {
        if (headless::idleCount() == 1)
            framesWhenMinimised = fakeGame.frames;
        if (headless::idleCount() == 10) {
            EXPECT_EQ(fakeGame.frames, framesWhenMinimised); // nothing drawn while minimised
            headless::postMessage(WM_ACTIVATE, MAKEWPARAM(1, 0));
        }
    });
    EXPECT_EQ(WinMain(), 0); // a posted close ends the loop, too
    EXPECT_TRUE(framesWhenMinimised == 3 && headless::idleCount() == 10);
    EXPECT_TRUE(fakeGame.frames == 6 && headless::swapCount() == 6);
}

TEST_F(ShellTest, WindowProcedureMessages) {
    active = true;
    for (auto [wparam, stays] : {std::pair{MAKEWPARAM(0, 0), true},  // deactivated, still shown
                                 std::pair{MAKEWPARAM(0, 1), false}, // minimised
                                 std::pair{MAKEWPARAM(1, 0), true}}) {
        WndProc(hwnd, WM_ACTIVATE, wparam, 0);
        EXPECT_EQ(active, stays) << wparam;
    }

    // No screen saver or monitor power-down; other system commands go to the default handler.
    EXPECT_EQ(WndProc(hwnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(WndProc(hwnd, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
    EXPECT_TRUE(headless::defaultProcessed().empty());
    const WPARAM SC_MINIMIZE = 0xF020;
    WndProc(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);

    for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONDOWN})
        WndProc(hwnd, button, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(fakeGame.catches == 1 && fakeGame.switches == 2);
    ASSERT_EQ(headless::defaultProcessed().size(), 4u);
    EXPECT_EQ(headless::defaultProcessed()[0].wParam, SC_MINIMIZE);
}

// 45 degrees from 0.1 to 390, modelview reset, height 0 as 1; full screen: a centred 4:3 area.
TEST_F(ShellTest, ResizeSetsViewportAndPerspectiveAndHeightZeroBecomesOne) {
    headless::OffscreenGL gl;
    ASSERT_TRUE(gl.ok());
    const struct {
        bool full;
        int width, height;
        GLint want[4];
    } cases[] = {{false, 640, 480, {0, 0, 640, 480}},
                 {false, 640, 0, {0, 0, 640, 1}},
                 {true, 640, 400, {53, 0, 533, 400}},
                 {true, 1920, 1080, {240, 0, 1440, 1080}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width * 10000 + c.height);
        headless::reset();
        const bool mode = c.full && ChangeDisplayModeFullscreen(640, 480, 16);
        HWND window = mode ? CreateGameWindow("Hoopwind", 640, 480, true, nullptr) : nullptr;
        ASSERT_EQ(window != nullptr, c.full);
        glTranslatef(1.0f, 2.0f, 3.0f); // must be reset
        glClearColor(0.85f, 0.85f, 1.0f, 0.0f);
        ResizeGLView(c.width, c.height);
        GLint viewport[4], scissor[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetIntegerv(GL_SCISSOR_BOX, scissor);
        EXPECT_TRUE(std::equal(c.want, c.want + 4, viewport) &&
                    std::equal(viewport, viewport + 4, scissor));
        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), c.full ? GL_TRUE : GL_FALSE);
        const double f = 2.414213562, aspect = double(c.want[2]) / c.want[3], n = 0.1, r = 390;
        const GLdouble projection[16] = {
            f / aspect,          0, 0, 0, 0, f, 0, 0, 0, 0, (r + n) / (n - r), -1, 0, 0,
            2 * r * n / (n - r), 0};
        GLdouble p[16], m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(p[i], projection[i], 1e-5) << i;
            EXPECT_EQ(m[i], i % 5 == 0 ? 1.0 : 0.0) << i;
        }
        glClear(GL_COLOR_BUFFER_BIT); // the game's sky colour, kept inside the picture
        const auto px = headless::readFramebuffer();
        EXPECT_TRUE(c.width != 640 || c.height != 400 ||
                    (px[(200 * 640 + 20) * 4 + 2] == 0 && px[(200 * 640 + 320) * 4 + 2] == 255));
        DestroyGameWindow(window);
        glDisable(GL_SCISSOR_TEST);
    }
}
