// Music playback through the platform: open one compressed track, play it once, stop, close.
// Every call is safe with a null handle, so a game without audio simply stays silent.
#pragma once

struct PlatMusic;

// Brings up the audio device if needed and loads the track; null when either is not possible.
PlatMusic* MusicOpen(const char* fileName);
void MusicPlay(PlatMusic* music); // plays once, from the start
void MusicStop(PlatMusic* music);
bool MusicIsPlaying(const PlatMusic* music);
// Stops, frees the track and releases the audio device.
void MusicClose(PlatMusic* music);
