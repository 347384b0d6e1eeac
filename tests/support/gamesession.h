// The in-process game harness for tests and benches, with the texts it prints per frame.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/datafolder.h"

class Player;

namespace hwtest {

using testdata::dataDir;

// A printed text and the modelview translation it was drawn at.
struct Printed {
    std::string text;
    float x, y, z;
};

// Start values, a fresh headless platform and the window; all undone on destruction.
class GameSession {
  public:
    explicit GameSession(const std::string& dir = dataDir());
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;
    bool ok() const { return windowMade_ && inDir_.ok(); }

    void start(uint32_t ticks = 4242); // as WinMain does; the ticks seed the random generator
    void shutdown();
    // One idle-time pass of the message loop (frame, swap, then afterFrame); texts start afresh.
    void frame();
    void frames(int count);
    void tap(int key); // held for exactly one frame
    void leftClick();
    void rightClick();
    bool quitPosted(); // empties the message queue

    const std::vector<Printed>& printed() const;
    bool printed(const std::string& text) const;

    std::function<void()> afterFrame;

  private:
    testdata::WorkingDir inDir_;
    bool windowMade_ = false;
    bool built_ = false;
};

// The followed team's active player (null in the free camera or without a world).
Player* human();
bool worldPositionsFinite();

} // namespace hwtest
