// libFuzzer harness for the outline-font (.glf) and bitmap-font ("BMF" + SGI image) parsers.
#include "font/bmffile.h"
#include "font/fontfile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void putF32(std::vector<uint8_t>& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(bits >> (8 * i)));
}

void putBE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> fontFileSeed() {
    FontFileData font;
    std::snprintf(font.name, sizeof font.name, "seed");
    for (char c : {'A', 'b', '\xE9'}) {
        auto s = std::make_unique<FontFileSymbol>();
        s->vertexCount = 4, s->triangleCount = 2, s->contourCount = 1;
        s->vertices = {-0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0.5f, -0.5f, 0.5f};
        s->triangles = {0, 1, 2, 0, 2, 3};
        s->contourEnd = {3};
        font.symbols[static_cast<unsigned char>(c)] = std::move(s);
    }
    return writeFontFile(font);
}

// A 4 x 2 image with `channels` channels, verbatim or run-length encoded.
std::vector<uint8_t> sgiSeed(int channels, bool rle) {
    std::vector<uint8_t> out;
    putBE(out, 474, 2);
    out.push_back(rle ? 1 : 0);
    out.push_back(1);
    putBE(out, 3, 2);
    putBE(out, 4, 2);
    putBE(out, 2, 2);
    putBE(out, uint32_t(channels), 2);
    out.resize(512, 0);
    int rows = 2 * channels;
    if (!rle) {
        for (int r = 0; r < rows; ++r)
            for (int x = 0; x < 4; ++x)
                out.push_back(uint8_t(r * 40 + x * 9));
        return out;
    }
    size_t data = 512 + size_t(rows) * 8;
    for (int r = 0; r < rows; ++r)
        putBE(out, uint32_t(data + size_t(r) * 6), 4);
    for (int r = 0; r < rows; ++r)
        putBE(out, 6, 4);
    for (int r = 0; r < rows; ++r) {
        uint8_t row[6] = {0x82, uint8_t(r), uint8_t(r + 1), 2, uint8_t(200 - r), 0};
        out.insert(out.end(), row, row + 6);
    }
    return out;
}

std::vector<uint8_t> bmfSeed(int channels, bool rle) {
    std::vector<uint8_t> out = {'B', 'M', 'F'};
    out.resize(3 + 96, 0);
    for (int c = 0; c < 256; ++c) {
        putF32(out, float(c % 16) / 16);
        putF32(out, float(c / 16) / 16);
        putF32(out, 1.0f / 16);
        putF32(out, 1.0f / 16);
    }
    auto image = sgiSeed(channels, rle);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

void writeSeed(const std::string& dir, const std::string& name, const std::vector<uint8_t>& b) {
    std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!f)
        return;
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

} // namespace

// With HW_FONT_FUZZ_SEEDS=<folder> the harness writes its seed files there and exits.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* dir = std::getenv("HW_FONT_FUZZ_SEEDS");
    if (!dir)
        return 0;
    writeSeed(dir, "font.glf", fontFileSeed());
    for (int ch = 1; ch <= 4; ++ch) {
        writeSeed(dir, "verbatim" + std::to_string(ch) + ".bmf", bmfSeed(ch, false));
        writeSeed(dir, "rle" + std::to_string(ch) + ".bmf", bmfSeed(ch, true));
    }
    std::exit(0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FontFileData font;
    if (parseFontFile(data, size, font) == FONT_FILE_OK) {
        // A loaded font must be safe to walk the way the drawing code does.
        volatile float sink = 0;
        for (const auto& s : font.symbols)
            if (s)
                for (uint8_t i : s->triangles)
                    sink = sink + s->vertices.at(size_t(i) * 2 + 1);
        (void)sink;
    }
    BmfFile bmf;
    if (bmfParse(data, size, bmf)) {
        const SgiImage& img = bmf.image;
        if (img.rgba.size() != size_t(img.width) * img.height * 4)
            std::abort();
    }
    return 0;
}
