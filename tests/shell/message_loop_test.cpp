// The message loop, the window procedure and the view.
#include "main/hoopwind.h"
#include "shell/fake_game.h"

#include <GL/gl.h>

#include <cstdlib>
#include <utility>

// A resize reaches the viewport; the game's Escape finishes its frame, then quits with status 0.
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
    EXPECT_EQ(WinMain(), 0);
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
TEST_F(ShellTest, ResizeSetsViewportAndPerspectiveAndHeightZeroBecomesOne) {
    headless::OffscreenGL gl;
    ASSERT_TRUE(gl.ok());
    for (int height : {480, 0}) {
        glTranslatef(1.0f, 2.0f, 3.0f); // must be reset
        ResizeGLView(640, height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_TRUE(viewport[0] + viewport[1] == 0 && viewport[2] == 640);
        EXPECT_EQ(viewport[3], height == 0 ? 1 : height);
        const double f = 2.414213562, aspect = 640.0 / (height == 0 ? 1 : height), n = 0.1, r = 390;
        const GLdouble projection[16] = {
            f / aspect,          0, 0, 0, 0, f, 0, 0, 0, 0, (r + n) / (n - r), -1, 0, 0,
            2 * r * n / (n - r), 0};
        GLdouble p[16], m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(p[i], projection[i], 1e-5) << height << " " << i;
            EXPECT_EQ(m[i], i % 5 == 0 ? 1.0 : 0.0) << height << " " << i;
        }
    }
}
