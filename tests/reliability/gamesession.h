// A whole game run in-process on the headless platform from a chosen data folder, and a
// throw-away copy of the generated data folder that a test may damage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace reliability {

// The generated data folder (HW_DATA_DIR, else the compiled-in default).
std::string generatedDataDir();

// Every file under a data folder, as paths relative to it ("mesh/player.3ds"), sorted.
std::vector<std::string> dataFiles(const std::string& dir);

// A private copy of a data folder, removed with everything in it on destruction.
class DataCopy {
  public:
    explicit DataCopy(const std::string& from);
    ~DataCopy();
    DataCopy(const DataCopy&) = delete;
    DataCopy& operator=(const DataCopy&) = delete;

    const std::string& dir() const { return dir_; }
    std::string path(const std::string& relative) const { return dir_ + "/" + relative; }
    bool ok() const { return !dir_.empty(); }

  private:
    std::string dir_;
};

// The window and GL context made as the shell makes them, the working directory set to a data
// folder, and the game built, played and rebuilt through its own entry points. The previous
// working directory and every shell global come back on destruction.
class GameSession {
  public:
    explicit GameSession(const std::string& dataDir);
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    bool ok() const { return windowMade_; }

    void start(uint32_t ticks = 4242);
    void shutdown();
    // One idle-time pass of the message loop: the frame, then the buffer swap.
    void frame();
    // Holds the key for exactly one frame.
    void tap(int key);
    void leftClick();
    void rightClick();

  private:
    std::string previousDir_;
    bool windowMade_ = false;
    bool built_ = false;
};

// One frame's game logic without drawing: the play keys and mouse look, the collision pass,
// then every object's simulation step in list order, as the drawing would take it (hoops test
// for goals, balls step, players steer and take their pending turn).
void stepWorldLogic();

// True when every world object's position is a finite number.
bool worldPositionsFinite();

// The camera and view globals back to their program-start values.
void restoreStartValues();

} // namespace reliability
