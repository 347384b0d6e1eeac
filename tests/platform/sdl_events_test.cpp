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

// A window event (type 0), a quit request, or a button event at (100, 50).
SDL_Event event(Uint8 detail, Uint32 type = SDL_WINDOWEVENT) {
    SDL_Event e = {};
    e.type = type;
    e.window.event = detail;
    e.window.data1 = 800;
    e.window.data2 = 600;
    if (type != SDL_WINDOWEVENT) {
        e.button.button = detail;
        e.button.x = 100;
        e.button.y = 50;
    }
    return e;
}

} // namespace

// Minimising (not losing focus) deactivates, a close or a quit request becomes a close so the game
// shuts down in order, a size carries its size, the left and right buttons their place; the middle
// button and releases are dropped.
TEST_F(SdlEventsTest, EventsBecomeTheWindowMessagesTheGameExpects) {
    const struct {
        SDL_Event in;
        UINT message; // 0: dropped
        bool minimised;
        LPARAM lParam;
    } cases[] = {
        {event(SDL_WINDOWEVENT_MINIMIZED), WM_ACTIVATE, true, 0},
        {event(SDL_WINDOWEVENT_RESTORED), WM_ACTIVATE, false, 0},
        {event(SDL_WINDOWEVENT_FOCUS_LOST), WM_ACTIVATE, false, 0},
        {event(SDL_WINDOWEVENT_CLOSE), WM_CLOSE, false, 0},
        {event(0, SDL_QUIT), WM_CLOSE, false, 0},
        {event(SDL_WINDOWEVENT_SIZE_CHANGED), WM_SIZE, false, MAKELPARAM(800, 600)},
        {event(SDL_BUTTON_LEFT, SDL_MOUSEBUTTONDOWN), WM_LBUTTONDOWN, false, MAKELPARAM(100, 50)},
        {event(SDL_BUTTON_MIDDLE, SDL_MOUSEBUTTONDOWN), 0, false, 0},
        {event(SDL_BUTTON_RIGHT, SDL_MOUSEBUTTONDOWN), WM_RBUTTONDOWN, false, MAKELPARAM(100, 50)},
        {event(SDL_BUTTON_LEFT, SDL_MOUSEBUTTONUP), 0, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        push(c.in);
        const std::vector<MSG> messages = drain();
        ASSERT_EQ(messages.size(), c.message != 0 ? 1u : 0u);
        if (c.message != 0) {
            EXPECT_EQ(messages[0].message, c.message);
            EXPECT_EQ(HIWORD(messages[0].wParam) != 0, c.minimised);
            EXPECT_TRUE(c.lParam == 0 || messages[0].lParam == c.lParam);
        }
    }
}

TEST_F(SdlEventsTest, QuitMessageCarriesItsExitCodeAfterQueuedInput) {
    push(event(SDL_WINDOWEVENT_CLOSE));
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
