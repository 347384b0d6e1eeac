// Fuzzes the bitmap decoder: arbitrary bytes in; every result is either a whole picture or null
// with exactly one message box. With HW_IMAGE_FUZZ_SEEDS set it writes seed files there and exits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "render/image.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"

namespace {
int boxes = 0;
}

// The decoder's only platform call; counted here so the harness needs no display or GL.
int MessageBox(const char*, const char*, UINT) {
    ++boxes;
    return IDOK;
}

namespace {

using namespace bmpbuild;

void WriteSeeds(const std::string& dir) {
    int n = 0;
    auto save = [&](const Layout& s) {
        for (bool fileHeader : {true, false}) {
            Layout t = s;
            t.fileHeader = fileHeader;
            char name[64];
            std::snprintf(name, sizeof name, "/seed%03d.bmp", n++);
            testdata::writeFile(dir + name, build(t));
        }
    };
    Words index = [](int x, int y) { return static_cast<uint8_t>(x * 7 + y * 3); };
    for (int bits : {1, 4, 8}) {
        for (bool topDown : {false, true}) {
            Layout s;
            s.width = 5;
            s.height = topDown ? -3 : 3;
            s.bitCount = static_cast<uint16_t>(bits);
            s.palette = palette(1 << bits);
            s.bits = pack(5, 3, bits, topDown, index);
            save(s);
            s.coreHeader = true;
            save(s);
        }
    }
    Layout used;
    used.width = 3;
    used.height = 2;
    used.bitCount = 8;
    used.clrUsed = 3;
    used.palette = palette(3);
    used.bits = pack(3, 2, 8, false, index);
    save(used);
    for (bool topDown : {false, true}) {
        Layout s;
        s.width = 3;
        s.height = topDown ? -2 : 2;
        s.bits = pack24(3, 2, topDown, gradient);
        save(s);
        s.coreHeader = true;
        save(s);
    }
    for (int bits : {16, 32}) {
        Layout s;
        s.width = 3;
        s.height = 2;
        s.bitCount = static_cast<uint16_t>(bits);
        s.bits = pack(3, 2, bits, false, [](int x, int y) { return x * 0x10203u + y; });
        save(s);
        s.compression = 3;
        s.masks = bits == 16 ? std::vector<uint32_t>{0xF800, 0x07E0, 0x001F}
                             : std::vector<uint32_t>{0xFF, 0xFF00, 0xFF0000};
        save(s);
    }
    Layout rle8;
    rle8.width = 6;
    rle8.height = 3;
    rle8.bitCount = 8;
    rle8.compression = 1;
    rle8.palette = palette(256);
    rle8.bits = {3, 9, 0, 3, 10, 11, 12, 0, 0, 0, 0, 2, 2, 1, 1, 12, 0, 0, 0, 1};
    save(rle8);
    Layout rle4 = rle8;
    rle4.bitCount = 4;
    rle4.compression = 2;
    rle4.palette = palette(16);
    rle4.bits = {5, 0xAB, 0, 3, 0x12, 0x30, 0, 0, 2, 0x45, 0, 1};
    save(rle4);
    std::printf("wrote %d seeds to %s\n", n, dir.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* dir = std::getenv("HW_IMAGE_FUZZ_SEEDS")) {
        WriteSeeds(dir);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    boxes = 0;
    ImageRec* image = DecodeDIBImage(data, size);
    if (!image) {
        if (boxes != 1)
            std::abort(); // a failure must be reported exactly once
        return 0;
    }
    if (boxes != 0 || image->width <= 0 || image->height <= 0 ||
        static_cast<uint64_t>(image->width) * image->height > MaxImagePixels)
        std::abort();
    // Touch the first and last byte of every row, so a pixel block shorter than the picture
    // shows up under the address sanitizer without reading megabytes per input.
    unsigned sum = 0;
    size_t row = static_cast<size_t>(image->width) * 3;
    for (int32_t y = 0; y < image->height; ++y)
        sum += image->data[y * row] + image->data[y * row + row - 1];
    FreeImageRec(image);
    return static_cast<int>(sum & 0);
}
