// The SDL platform turns input events into the window messages the game's window procedure expects.
#include "platform/platform.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

class SdlEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(RegisterWindowClass("Hoopwind"));
        MSG drain;
        while (PeekMessage(&drain)) {
        }
    }
    void TearDown() override { UnregisterWindowClass("Hoopwind"); }

    static void push(const SDL_Event& e) {
        SDL_Event copy = e;
        ASSERT_EQ(SDL_PushEvent(&copy), 1);
    }

    static std::vector<MSG> drain() {
        std::vector<MSG> out;
        MSG m;
        while (PeekMessage(&m)) {
            out.push_back(m);
        }
        return out;
    }
};

SDL_Event event(Uint32 type, Uint8 detail = 0, int a = 0, int b = 0) {
    SDL_Event e = {};
    e.type = type;
    if (type == SDL_WINDOWEVENT) {
        e.window.event = detail;
        e.window.data1 = a;
        e.window.data2 = b;
    } else {
        e.button.button = detail;
        e.button.x = a;
        e.button.y = b;
    }
    return e;
}

} // namespace

// Minimising (not losing focus) deactivates, a close or a quit request becomes a close so the game
// shuts down in order, a size carries its size, left and right buttons their place; the middle
// button and button releases are dropped.
TEST_F(SdlEventsTest, EventsBecomeTheWindowMessagesTheGameExpects) {
    struct Case {
        SDL_Event in;
        UINT message; // 0: dropped
        WPARAM wParam;
        LPARAM lParam;
    } const cases[] = {
        {event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED), WM_ACTIVATE, MAKEWPARAM(0, 1), 0},
        {event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED), WM_ACTIVATE, MAKEWPARAM(1, 0), 0},
        {event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST), WM_ACTIVATE, MAKEWPARAM(0, 0), 0},
        {event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE), WM_CLOSE, 0, 0},
        {event(SDL_QUIT), WM_CLOSE, 0, 0},
        {event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600), WM_SIZE, 0,
         MAKELPARAM(800, 600)},
        {event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 50), WM_LBUTTONDOWN, 0,
         MAKELPARAM(100, 50)},
        {event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 100, 50), 0, 0, 0},
        {event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 50), WM_RBUTTONDOWN, 0,
         MAKELPARAM(100, 50)},
        {event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 50), 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        push(c.in);
        const std::vector<MSG> messages = drain();
        if (c.message == 0) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].message, c.message);
        if (c.message == WM_ACTIVATE) { // only whether the window is minimised counts
            EXPECT_EQ(HIWORD(messages[0].wParam) != 0, HIWORD(c.wParam) != 0);
        }
        if (c.lParam != 0) {
            EXPECT_EQ(messages[0].lParam, c.lParam);
        }
    }
}

TEST_F(SdlEventsTest, QuitMessageCarriesItsExitCodeAfterQueuedInput) {
    push(event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE));
    MSG m;
    ASSERT_TRUE(PeekMessage(&m));
    PostQuitMessage(3);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_QUIT);
    EXPECT_EQ(messages[0].wParam, 3u);
}

TEST_F(SdlEventsTest, UnboundKeysAreNeverReportedHeld) {
    EXPECT_EQ(GetAsyncKeyState(0x07), 0);
    EXPECT_EQ(GetAsyncKeyState(-5), 0);
    EXPECT_EQ(GetAsyncKeyState(100000), 0);
    EXPECT_EQ(KEYDOWN(VK_ESCAPE), 0); // nothing is pressed on the dummy display
}

TEST_F(SdlEventsTest, AKeyTappedBetweenTwoFramesReadsAsHeldInTheNextFrame) {
    // A press and release in one pump: the key state alone never sees it down.
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = SDL_SCANCODE_TAB;
    push(e);
    e.type = SDL_KEYUP;
    push(e);
    drain();
    EXPECT_EQ(KEYDOWN(VK_TAB), 1);
    EXPECT_EQ(KEYDOWN(VK_F1), 0);
}
