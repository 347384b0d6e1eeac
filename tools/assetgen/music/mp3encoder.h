// MP3 encoding of a rendered track with LAME, configured so the output bytes never vary.
#pragma once

#include "assetgen/music/synth.h"

#include <cstdint>
#include <string>
#include <vector>

namespace music {

// Constant bit rate, joint stereo, no tags of any kind; empty on an encoder failure.
std::vector<uint8_t> encodeMp3(const StereoBuffer& pcm, int kbps);

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace music
