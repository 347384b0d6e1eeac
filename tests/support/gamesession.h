// The one in-process game harness for tests and benches: the headless window and context made as
// the shell makes them, a data folder as working directory, the game built, played and restarted
// through its own entry points, the texts it prints captured per frame; plus throw-away copies of
// the data folder that a test may damage.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Player;

namespace hwtest {

// The generated data folder (HW_DATA_DIR, else the compiled-in default, else "data").
std::string dataDir();

// Every file under a folder, as sorted paths relative to it ("mesh/player.3ds").
std::vector<std::string> dataFiles(const std::string& dir);

// A private copy of a data folder, removed with everything in it on destruction.
class DataCopy {
  public:
    explicit DataCopy(const std::string& from = dataDir());
    ~DataCopy();
    DataCopy(const DataCopy&) = delete;
    DataCopy& operator=(const DataCopy&) = delete;

    bool ok() const { return !dir_.empty(); }
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& relative) const { return dir_ + "/" + relative; }

  private:
    std::string dir_;
};

// A printed text and the modelview translation it was drawn at.
struct Printed {
    std::string text;
    float x, y, z;
};

// Every program-wide value starts at its start value, the headless platform is fresh (cursor at
// the centre, audio on the dummy driver) and the window is made; all of it is undone on
// destruction, the previous working directory included.
class GameSession {
  public:
    explicit GameSession(const std::string& dir = dataDir());
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    bool ok() const { return windowMade_; }

    // Builds the game as WinMain does, with the tick count that seeds the random generator.
    void start(uint32_t ticks = 4242);
    void shutdown();
    // One idle-time pass of the message loop (the frame, then the swap); texts start afresh.
    // afterFrame, when set, runs after each.
    void frame();
    void frames(int count);
    // Holds the key for exactly one frame.
    void tap(int key);
    // Button presses as the window procedure receives them between frames.
    void leftClick();
    void rightClick();
    // True when the quit message waits in the queue (empties the queue).
    bool quitPosted();

    const std::vector<Printed>& printed() const;
    bool printed(const std::string& text) const;
    // The first printed text starting with prefix, or "".
    std::string printedStartingWith(const std::string& prefix) const;
    const Printed* where(const std::string& text) const;

    std::function<void()> afterFrame;

  private:
    std::string previousDir_;
    bool windowMade_ = false;
    bool built_ = false;
};

// One frame of play without drawing: the play keys and mouse look, the collision pass, then
// every object's step in list order (what a drawn frame does to the world).
void logicFrame();

// The followed team's active player (null in the free camera or without a world).
Player* human();

// True when every world object's position is a finite number.
bool worldPositionsFinite();

} // namespace hwtest
