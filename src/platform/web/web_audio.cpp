// Music through the page's <audio id="music"> element: the packed track's bytes become a Blob URL,
// a new one for every game, released with the track.
#include "platform/audio.h"

#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <vector>

struct PlatMusic {
    int unused;
};

namespace {

// A track larger than this is not one of ours.
constexpr long MAX_TRACK_BYTES = 64L * 1024 * 1024;

// clang-format off
EM_JS(int, pageMusicLoad, (const unsigned char* bytes, int size), {
    var audio = document.getElementById("music");
    if (!audio || !audio.canPlayType || audio.canPlayType("audio/mpeg") === "") {
        return 0;
    }
    var blob = new Blob([HEAPU8.slice(bytes, bytes + size)], {
        type:
            "audio/mpeg"
    });
    if (audio.dataset.url) {
        URL.revokeObjectURL(audio.dataset.url);
    }
    audio.dataset.url = URL.createObjectURL(blob);
    audio.src = audio.dataset.url;
    return 1;
});
// clang-format on

// A refused start (no click on the page yet) leaves the game silent, as a missing track does.
// clang-format off
EM_JS(void, pageMusicPlay, (), {
    var audio = document.getElementById("music");
    if (!audio || !audio.src) {
        return;
    }
    audio.currentTime = 0;
    var p = audio.play();
    if (p && p.catch) {
        p.catch(function(){});
    }
});
// clang-format on

// clang-format off
EM_JS(void, pageMusicStop, (), {
    var audio = document.getElementById("music");
    if (audio) {
        audio.pause();
    }
});
// clang-format on

// clang-format off
EM_JS(int, pageMusicPlaying, (), {
    var audio = document.getElementById("music");
    return audio && audio.src && !audio.paused && !audio.ended ? 1 : 0;
});
// clang-format on

// clang-format off
EM_JS(void, pageMusicRelease, (), {
    var audio = document.getElementById("music");
    if (!audio) {
        return;
    }
    audio.pause();
    audio.removeAttribute("src");
    if (audio.dataset.url) {
        URL.revokeObjectURL(audio.dataset.url);
        delete audio.dataset.url;
    }
});
// clang-format on

bool readTrack(const char* fileName, std::vector<unsigned char>& bytes) {
    struct Closer {
        void operator()(FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<FILE, Closer> file(std::fopen(fileName, "rb"));
    if (!file) {
        return false;
    }
    unsigned char chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (static_cast<long>(bytes.size() + n) > MAX_TRACK_BYTES) {
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return !std::ferror(file.get()) && !bytes.empty();
}

PlatMusic theTrack = {0};
bool trackOpen = false;
int volumePercent = 100;
bool muted = false;

// The element's volume is its amplitude, linear as the desktop's; muting leaves the track running.
// clang-format off
EM_JS(void, pageMusicVolume, (double volume, int silent), {
    var audio = document.getElementById("music");
    if (audio) {
        audio.volume = volume;
        audio.muted = !!silent;
    }
});
// clang-format on

void applyVolume() {
    pageMusicVolume(volumePercent / 100.0, muted ? 1 : 0);
}

} // namespace

PlatMusic* MusicOpen(const char* fileName) {
    std::vector<unsigned char> bytes;
    if (!fileName || trackOpen || !readTrack(fileName, bytes)) {
        return nullptr;
    }
    if (!pageMusicLoad(bytes.data(), static_cast<int>(bytes.size()))) {
        return nullptr;
    }
    trackOpen = true;
    applyVolume();
    return &theTrack;
}

void MusicPlay(PlatMusic* music) {
    if (music) {
        pageMusicPlay();
    }
}

void MusicStop(PlatMusic* music) {
    if (music) {
        pageMusicStop();
    }
}

bool MusicIsPlaying(const PlatMusic* music) {
    return music && pageMusicPlaying();
}

void MusicClose(PlatMusic* music) {
    if (music) {
        pageMusicRelease();
        trackOpen = false;
    }
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
