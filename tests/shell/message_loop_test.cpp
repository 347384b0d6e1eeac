// The message loop, the window procedure and the view.
#include "main/hoopwind.h"
#include "shared/globals.h"
#include "shell/fake_game.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

// The light along +z; the shell and its fake game change none of these.
TEST(StartValues, LightsOffAndTheWorldOffsetAtTheStartCamera) {
    EXPECT_TRUE(!USE_LIGHTS && xoffset == 0.0f && yoffset == -2.34f && zoffset == -45.0f);
    EXPECT_TRUE(lightPos[0] == 0 && lightPos[1] == 0 && lightPos[2] == 2000 && lightPos[3] == 0);
}

// A resize reaches a window's viewport; the game's Escape finishes its frame, then quits with
// status 0.
TEST_F(ShellTest, RunsOneFramePerSwapUntilACloseFromInsideAFrame) {
    headless::setSwapHook([](int swaps) {
        if (swaps == 1) {
            headless::postMessage(WM_SIZE, 0, MAKELPARAM(320, 200));
        } else if (swaps == 2) {
            GLint viewport[4];
            glGetIntegerv(GL_VIEWPORT, viewport);
            EXPECT_TRUE(viewport[2] == 320 && viewport[3] == 200);
            auto px = headless::readFramebuffer(); // the fake frame clears to (0, 0.5, 1)
            EXPECT_TRUE(px[0] == 0 && std::abs(px[1] - 128) <= 1 && px[2] == 255);
        }
    });
    fakeGame().onFrame = [] {
        if (fakeGame().frames == 5) {
            WndProc(hwnd, WM_CLOSE, 0, 0);
            active = false;
        }
    };
    EXPECT_EQ(WinMain(false), 0); // a window: the picture fills whatever size it is given
    EXPECT_TRUE(fakeGame().inits == 1 && fakeGame().shutdowns == 1);
    EXPECT_TRUE(fakeGame().frames == 5 && headless::swapCount() == 5);
    EXPECT_FALSE(headless::windowExists() || headless::classRegistered());
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(ShellTest, MinimisingStopsFramesAndSwapsUntilRestored) {
    int framesWhenMinimised = -1;
    headless::setSwapHook([&](int swaps) {
        if (swaps == 3) {
            headless::postMessage(WM_ACTIVATE, MAKEWPARAM(0, 1)); // minimised
        } else if (swaps == 6) {
            headless::postMessage(WM_CLOSE);
        }
    });
    headless::setIdleHook([&] {
        if (headless::idleCount() == 1) {
            framesWhenMinimised = fakeGame().frames;
        }
        if (headless::idleCount() == 10) {
            EXPECT_EQ(fakeGame().frames, framesWhenMinimised); // nothing drawn while minimised
            headless::postMessage(WM_ACTIVATE, MAKEWPARAM(1, 0));
        }
    });
    EXPECT_EQ(WinMain(), 0); // a posted close ends the loop, too
    EXPECT_TRUE(framesWhenMinimised == 3 && headless::idleCount() == 10);
    EXPECT_TRUE(fakeGame().frames == 6 && headless::swapCount() == 6);
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

    WndProc(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));
    WndProc(hwnd, WM_RBUTTONDOWN, 0, MAKELPARAM(10, 10));
    WndProc(hwnd, WM_RBUTTONDOWN, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(fakeGame().catches == 1 && fakeGame().switches == 2);
    ASSERT_EQ(headless::defaultProcessed().size(), 4u);
    EXPECT_EQ(headless::defaultProcessed()[0].wParam, SC_MINIMIZE);
}

// A 45-degree perspective from 0.1 to 390, the modelview reset; a height of zero counts as one.
// Full screen draws in the centred 4:3 area only, and the bars beside it are cleared black.
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
