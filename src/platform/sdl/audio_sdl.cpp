// Music through SDL2_mixer: the audio device is opened for a track and closed with it, so every
// game brings up and releases its own playback, and no device simply means silence.
#include "platform/audio.h"

#include "platform/msgline.h"
#include "platform/sdl/sdl_desktop.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

struct PlatMusic {
    Mix_Music* track;
};

namespace {

// Said once a run: every new game tries the device again, silently.
void reportNoSoundDevice() {
    static bool said = false;
    if (!said) {
        said = true;
        printMessageLine(std::string("no sound device (") + SDL_GetError() +
                         "): playing without music");
    }
}

// Chosen once for the whole run: every game's track opens at the same loudness.
int volumePercent = 100;
bool muted = false;
int openTracks = 0; // the mixer is only touched while a track holds the device open

void applyVolume() {
    if (openTracks > 0) {
        Mix_VolumeMusic(muted ? 0 : (volumePercent * MIX_MAX_VOLUME + 50) / 100);
    }
}

} // namespace

PlatMusic* MusicOpen(const char* fileName) {
    if (!fileName) {
        return nullptr;
    }
    // Refuse missing files before touching the device: a game without its music folder should
    // not pay for opening audio hardware it will never use.
    SDL_RWops* probe = SDL_RWFromFile(fileName, "rb");
    if (!probe) {
        return nullptr;
    }
    SDL_RWclose(probe);
    silenceSoundLibrary();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reportNoSoundDevice();
        return nullptr;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        reportNoSoundDevice();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_Music* track = Mix_LoadMUS(fileName);
    if (!track) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    ++openTracks;
    applyVolume();
    return new PlatMusic{track};
}

void MusicPlay(PlatMusic* music) {
    if (music) {
        Mix_PlayMusic(music->track, 0);
    }
}

void MusicStop(PlatMusic* music) {
    if (music) {
        Mix_HaltMusic();
    }
}

bool MusicIsPlaying(const PlatMusic* music) {
    return music && Mix_PlayingMusic() != 0;
}

void MusicClose(PlatMusic* music) {
    if (!music) {
        return;
    }
    Mix_HaltMusic();
    Mix_FreeMusic(music->track);
    --openTracks;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    delete music;
}

void MusicSetVolume(int percent) {
    volumePercent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    applyVolume();
}

void MusicToggleMute() {
    muted = !muted;
    applyVolume();
}

bool MusicMuted() {
    return muted;
}
