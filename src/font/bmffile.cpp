// Parsing of "BMF" bitmap-font files.
#include "font/bmffile.h"

#include "font/bytereader_local.h"

#include <cmath>
#include <cstring>

bool bmfParse(const uint8_t* data, size_t size, BmfFile& file) {
    file = BmfFile();
    fontfile::ByteReader in(data, size);
    char magic[3];
    if (!in.bytes(magic, 3) || std::memcmp(magic, "BMF", 3) != 0)
        return false;
    if (!in.bytes(file.name, 96))
        return false;
    file.name[96] = '\0';
    for (BmfCell& c : file.cells) {
        c.x = in.f32le();
        c.y = in.f32le();
        c.width = in.f32le();
        c.height = in.f32le();
        // Non-finite cells would poison every matrix they are translated into.
        if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.width) ||
            !std::isfinite(c.height))
            return false;
    }
    if (!in.ok())
        return false;
    size_t at = in.offset();
    if (!sgiDecode(data + at, size - at, file.image)) {
        file = BmfFile();
        return false;
    }
    return true;
}
