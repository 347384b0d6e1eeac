// Writes the game's two music tracks, Music/music0.mp3 and Music/music1.mp3, into a data folder.
#include "assetgen/music/mp3encoder.h"
#include "assetgen/music/song.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <data folder> [wav]\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/Music";
    mkdir(argv[1], 0755);
    mkdir(folder.c_str(), 0755);
    const music::SongPlan songs[2] = {music::stadiumAnthem(), music::skyChase()};
    for (int i = 0; i < 2; ++i) {
        music::StereoBuffer pcm = music::renderSong(songs[i]);
        std::vector<uint8_t> mp3 = music::encodeMp3(pcm, 160);
        char path[512];
        std::snprintf(path, sizeof path, "%s/music%d.mp3", folder.c_str(), i);
        if (mp3.empty() || !music::writeBytes(path, mp3)) {
            std::fprintf(stderr, "musicgen: cannot write %s\n", path);
            return 1;
        }
    }
    return 0;
}
