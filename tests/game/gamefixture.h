// A real game built in-process: headless window and GL context, the generated data folder as the
// working directory, a fixed tick count, and every text glPrint draws captured per frame.
#pragma once

#include "platform/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class Player;

namespace gametest {

// The generated data folder (HW_DATA_DIR, else the compiled-in default).
std::string dataDir();

// A printed text and where it was drawn: the modelview translation at the call.
struct Printed {
    std::string text;
    float x, y, z;
};

// Texts printed since the last clearTexts(), in order.
const std::vector<std::string>& texts();
// The first printed text equal to text, or null.
const Printed* where(const std::string& text);
void clearTexts();
bool printed(const std::string& text);
// First printed text starting with prefix, or "" when none.
std::string printedStartingWith(const std::string& prefix);

// The camera, view and switch globals back to their program-start values.
void restoreStartValues();

// The followed team's active player.
Player* human();

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the game, as WinMain does after the window exists.
    void startGame(uint32_t ticks = 4242);
    // One idle-time pass of the loop: clear the captured texts, run a frame, swap.
    void frame();
    void frames(int count);
    // Holds the key for exactly one frame.
    void tap(int key);
    void chooseTeam(int key);
    // A mouse button press as the window procedure receives it between frames.
    void leftClick();
    void rightClick();
    // True when the quit message is waiting in the queue (consumes the queue).
    bool quitPosted();

    std::string previousDir_;
    bool windowMade_ = false;
    bool gameBuilt_ = false;
};

} // namespace gametest
