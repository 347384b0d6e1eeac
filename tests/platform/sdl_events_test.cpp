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

SDL_Event windowEvent(Uint8 which, int a = 0, int b = 0) {
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    e.window.data1 = a;
    e.window.data2 = b;
    return e;
}

} // namespace

TEST_F(SdlEventsTest, WindowEventsBecomeActivateCloseAndSizeMessages) {
    push(windowEvent(SDL_WINDOWEVENT_MINIMIZED));
    push(windowEvent(SDL_WINDOWEVENT_RESTORED));
    push(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    push(windowEvent(SDL_WINDOWEVENT_CLOSE));
    push(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600));
    auto messages = drain();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].message, WM_ACTIVATE);
    EXPECT_NE(HIWORD(messages[0].wParam), 0u); // minimised
    EXPECT_EQ(messages[1].message, WM_ACTIVATE);
    EXPECT_EQ(HIWORD(messages[1].wParam), 0u);
    EXPECT_EQ(messages[2].message, WM_ACTIVATE);
    EXPECT_EQ(HIWORD(messages[2].wParam), 0u); // losing focus is not minimising
    EXPECT_EQ(messages[3].message, WM_CLOSE);
    EXPECT_EQ(messages[4].message, WM_SIZE);
    EXPECT_EQ(LOWORD(messages[4].lParam), 800u);
    EXPECT_EQ(HIWORD(messages[4].lParam), 600u);
}

TEST_F(SdlEventsTest, QuitRequestsBecomeCloseSoTheGameShutsDownInOrder) {
    SDL_Event e = {};
    e.type = SDL_QUIT;
    push(e);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_CLOSE);
}

TEST_F(SdlEventsTest, LeftAndRightButtonsBecomeButtonDownMessagesOthersAreDropped) {
    SDL_Event e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.x = 100;
    e.button.y = 50;
    for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT}) {
        e.button.button = button;
        push(e);
    }
    SDL_Event up = e;
    up.type = SDL_MOUSEBUTTONUP;
    push(up);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(LOWORD(messages[0].lParam), 100u);
    EXPECT_EQ(HIWORD(messages[0].lParam), 50u);
    EXPECT_EQ(messages[1].message, WM_RBUTTONDOWN);
}

TEST_F(SdlEventsTest, QuitMessageCarriesItsExitCodeAfterQueuedInput) {
    push(windowEvent(SDL_WINDOWEVENT_CLOSE));
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
