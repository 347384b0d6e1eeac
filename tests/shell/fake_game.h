// A recording stand-in for the game, so the shell's loop and window procedure are tested alone.
#pragma once

#include <functional>

struct FakeGame {
    int inits = 0;
    int frames = 0;
    int shutdowns = 0;
    int catches = 0;
    int switches = 0;
    std::function<void()> onFrame; // runs inside Game_Main, after the frame is drawn
};

FakeGame& fakeGame();
void resetFakeGame();
