// MP3 encoding of a rendered track with LAME, configured so the output bytes never vary.
#include "assetgen/music/mp3encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace music {

namespace {

struct LameDeleter {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

int16_t toPcm16(float v) {
    float s = std::max(-1.0f, std::min(1.0f, v)) * 32767.0f;
    return static_cast<int16_t>(std::lround(s));
}

} // namespace

std::vector<uint8_t> encodeMp3(const StereoBuffer& pcm, int kbps) {
    std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
    if (!gf)
        return {};
    lame_set_in_samplerate(gf.get(), SAMPLE_RATE);
    lame_set_out_samplerate(gf.get(), SAMPLE_RATE);
    lame_set_num_channels(gf.get(), 2);
    lame_set_mode(gf.get(), JOINT_STEREO);
    lame_set_VBR(gf.get(), vbr_off);
    lame_set_brate(gf.get(), kbps);
    lame_set_quality(gf.get(), 5);
    lame_set_bWriteVbrTag(gf.get(), 0);
    lame_set_write_id3tag_automatic(gf.get(), 0);
    if (lame_init_params(gf.get()) < 0)
        return {};

    const size_t chunkFrames = 8192;
    std::vector<short> interleaved(chunkFrames * 2);
    std::vector<uint8_t> out;
    std::vector<unsigned char> mp3(chunkFrames * 5 / 4 + 7200);
    for (size_t first = 0; first < pcm.frames(); first += chunkFrames) {
        size_t n = std::min(chunkFrames, pcm.frames() - first);
        for (size_t i = 0; i < n; ++i) {
            interleaved[2 * i] = toPcm16(pcm.left[first + i]);
            interleaved[2 * i + 1] = toPcm16(pcm.right[first + i]);
        }
        int written =
            lame_encode_buffer_interleaved(gf.get(), interleaved.data(), static_cast<int>(n),
                                           mp3.data(), static_cast<int>(mp3.size()));
        if (written < 0)
            return {};
        out.insert(out.end(), mp3.begin(), mp3.begin() + written);
    }
    int written = lame_encode_flush(gf.get(), mp3.data(), static_cast<int>(mp3.size()));
    if (written < 0)
        return {};
    out.insert(out.end(), mp3.begin(), mp3.begin() + written);
    return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!f)
        return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
}

} // namespace music
