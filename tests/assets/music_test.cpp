// The music tracks: plain 44.1 kHz stereo MPEG frames without tags, decoding through the audio
// library the game plays them with to 60-120 seconds of sound that is never silent for long.
#include "assetgen/music/song.h"
#include "support/datafolder.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    testdata::readFile(path, bytes);
    return bytes;
}

struct Mixer {
    bool ok = false;
    Mixer() {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (SDL_Init(SDL_INIT_AUDIO) != 0)
            return;
        Mix_Init(MIX_INIT_MP3);
        ok = Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096) == 0;
    }
    ~Mixer() {
        if (ok)
            Mix_CloseAudio();
        Mix_Quit();
        SDL_Quit();
    }
};

} // namespace

TEST(Music, TracksAreUntaggedStereoMpegAt44100) {
    std::vector<uint8_t> first[2];
    for (int i = 0; i < 2; ++i) {
        auto bytes = readFile(testdata::dataPath("Music/music" + std::to_string(i) + ".mp3"));
        ASSERT_GT(bytes.size(), 500000u);
        EXPECT_NE(std::string(bytes.begin(), bytes.begin() + 3), "ID3");
        EXPECT_NE(std::string(bytes.end() - 128, bytes.end() - 125), "TAG");
        // Frame header: sync, MPEG-1 layer III, 44.1 kHz, not mono.
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1] & 0xFE, 0xFA);
        EXPECT_EQ((bytes[2] >> 2) & 3, 0);
        EXPECT_NE(bytes[3] >> 6, 3);
        first[i] = bytes;
    }
    EXPECT_NE(first[0], first[1]);
}

TEST(Music, TracksDecodeToTheirLengthAndAreNeverSilentForLong) {
    Mixer mixer;
    ASSERT_TRUE(mixer.ok) << Mix_GetError();
    const music::SongPlan plans[2] = {music::stadiumAnthem(), music::skyChase()};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        std::string path = testdata::dataPath("Music/music" + std::to_string(i) + ".mp3");
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const int16_t* pcm = reinterpret_cast<const int16_t*>(chunk->abuf);
        const size_t frames = chunk->alen / 4;
        double seconds = double(frames) / 44100;
        EXPECT_GE(seconds, 60.0);
        EXPECT_LE(seconds, 120.0);
        // The encoder pads by well under a tenth of a second.
        EXPECT_NEAR(seconds, music::songLength(plans[i]), 0.15);
        double total = 0;
        size_t window = 44100 * 4;
        for (size_t start = 0; start + window <= frames - 44100 * 3; start += window) {
            double sq = 0;
            for (size_t k = start * 2; k < (start + window) * 2; ++k)
                sq += double(pcm[k]) * pcm[k];
            double rms = std::sqrt(sq / (window * 2)) / 32768.0;
            EXPECT_GT(rms, 0.03) << "quiet stretch at " << start / 44100 << " s";
            total += rms;
        }
        EXPECT_GT(total / (frames / window), 0.08);
        // Left and right differ: the mix is really stereo.
        double diff = 0;
        for (size_t k = 0; k < frames; k += 97)
            diff += std::abs(pcm[2 * k] - pcm[2 * k + 1]);
        EXPECT_GT(diff / (frames / 97) / 32768.0, 0.005);
        Mix_FreeChunk(chunk);
    }
}
