// A minimal PNG writer (RGBA, stored deflate blocks): enough for the desktop icons, no extra
// library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgba: width * height * 4 bytes, top row first. Returns false when the file cannot be written.
bool WritePNG(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
