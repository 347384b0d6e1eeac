// Demos: recording everything the game reads from the platform and feeding it back. Each
// platform implementation passes its live answers through these calls; while a demo plays, the
// recorded answers replace them, so the game code above never knows.
#pragma once

#include "platform/platform.h"

#include <string>

namespace demo {

// Starts writing a demo; false with a one-line error when the file cannot be made.
bool startRecording(const char* path, std::string& error);
// Loads and checks a whole demo before anything runs; false with a one-line error.
bool startPlayback(const char* path, bool unpaced, std::string& error);
// Ends recording or playback; false with a one-line error when the demo could not be written or
// the game asked for something the demo does not hold at that point (another build's demo).
bool finish(std::string& error);

bool recording();
bool playing();
// Replaying as fast as frames can be drawn.
bool unpaced();
// Frames swapped since recording or playback started, and the seconds they took.
int frames();
double seconds();

// Called after every frame with the number of frames so far (1 for the first), in any mode.
void setFrameHook(void (*hook)(int frame));

// --- Used by the platform implementations -------------------------------------------------------
uint32_t tick(uint32_t live);
short key(int virtualKey, short live);
bool cursor(POINT* point, bool liveResult);
// *msg holds the live message when liveTaken; while playing it receives the recorded one, and a
// finished or abandoned demo gives the quit message.
bool peek(MSG* msg, bool liveTaken);
// PeekMessage for a platform whose own queue is read by livePeek: recorded while recording; while
// playing, the live queue is drained (only a request to close is heard) and the demo answers.
bool peekMessage(MSG* msg, bool (*livePeek)(MSG*));
void frameDone();
// A real request to close arrived while playing: the replay stops at the next message.
void interrupt();

// Back to no demo, dropping any open file (tests).
void reset();

} // namespace demo
