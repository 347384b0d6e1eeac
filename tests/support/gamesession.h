// The in-process game harness for tests and benches, its printed texts, the game's headers.
#pragma once

#include "cball/cball.h"
#include "main/gameview.h"
#include "main/hoopwind.h"
#include "main/world.h"
#include "platform/headless.h"
#include "player/player.h"
#include "shared/globals.h"
#include "support/datafolder.h"
#include "team/team.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

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
    bool ok() const { return windowMade_ && inDir_.ok(); }

    bool start(uint32_t ticks = 4242); // as WinMain does, the ticks seeding; returns ok()
    void shutdown();
    // One idle-time pass of the message loop (frame, swap, then afterFrame); texts start afresh.
    void frame();
    void frames(int count);
    void tap(int key) { hold({key}); }                         // held for exactly one frame
    void hold(std::initializer_list<int> keys, int count = 1); // for that many frames, then let go
    void leftClick() { WndProc(hwnd, WM_LBUTTONDOWN, 0, 0); }
    void rightClick() { WndProc(hwnd, WM_RBUTTONDOWN, 0, 0); }
    bool quitPosted(); // empties the message queue

    const std::vector<Printed>& printed() const;
    bool printed(const std::string& text) const;

    std::function<void()> afterFrame;

  private:
    testdata::WorkingDir inDir_; // not copyable, so neither is a session
    bool windowMade_ = false, built_ = false;
};

// The followed team's active player (null in the free camera or without a world).
Player* human();
// Puts the followed player just under the ball, where a click catches it.
void standUnder(CBall* ball);
bool worldPositionsFinite();

} // namespace hwtest
