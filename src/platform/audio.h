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

// Loudness of the music, this track and every later one: 0 (silent) to 100 (as recorded), the
// amplitude linear in it. Muting keeps the track running, silently, until it is unmuted.
void MusicSetVolume(int percent);
void MusicToggleMute();
bool MusicMuted();
