// The game's music player over the platform's audio calls.
#include "contentplayer/contentplayer.h"

#include "platform/audio.h"

ContentPlayer::ContentPlayer(const char* fileName) : track(MusicOpen(fileName)) {}

ContentPlayer::~ContentPlayer() {
    stop();
    // Closing also gives the audio device back, so the next game's player opens a fresh one.
    MusicClose(track);
}

void ContentPlayer::play() {
    MusicPlay(track);
}

void ContentPlayer::stop() {
    MusicStop(track);
}

bool ContentPlayer::isPlaying() const {
    return MusicIsPlaying(track);
}
