// A recording stand-in for the game and the shell tests' fixture.
#pragma once

#include "platform/headless.h"

#include <gtest/gtest.h>

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

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        headless::reset();
        fakeGame() = FakeGame();
    }
};
