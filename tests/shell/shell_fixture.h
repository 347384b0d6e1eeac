// Common set-up for shell tests: a clean headless platform and recording game per test.
#pragma once

#include "platform/headless.h"
#include "shell/fake_game.h"

#include <gtest/gtest.h>

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::reset();
        resetFakeGame();
    }
    void TearDown() override {
        headless::reset();
        resetFakeGame();
    }
};
