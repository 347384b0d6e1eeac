// Parsing and writing of .glf outline-font files.
#include "font/fontfile.h"

#include "font/bytereader_local.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kHeaderSize = 128;

void clearFont(FontFileData& font) {
    std::memset(font.name, 0, sizeof font.name);
    font.symbolCount = 0;
    for (auto& s : font.symbols)
        s.reset();
}

FontFileStatus readSymbol(fontfile::ByteReader& in, FontFileSymbol& s) {
    s.vertices.resize(size_t(s.vertexCount) * 2);
    for (size_t i = 0; i < s.vertices.size(); i += 2) {
        float x = in.f32le();
        float y = in.f32le();
        s.vertices[i] = x;
        s.vertices[i + 1] = y;
        if (x < s.minX)
            s.minX = x;
        if (x > s.maxX)
            s.maxX = x;
        if (y < s.minY)
            s.minY = y;
        if (y > s.maxY)
            s.maxY = y;
    }
    s.triangles.resize(size_t(s.triangleCount) * 3);
    s.contourEnd.resize(s.contourCount);
    if (!in.bytes(s.triangles.data(), s.triangles.size()) ||
        !in.bytes(s.contourEnd.data(), s.contourEnd.size()))
        return FONT_FILE_TRUNCATED;
    if (!in.ok())
        return FONT_FILE_TRUNCATED;
    for (uint8_t index : s.triangles)
        if (index >= s.vertexCount)
            return FONT_FILE_BAD_INDEX;
    for (uint8_t end : s.contourEnd)
        if (end >= s.vertexCount)
            return FONT_FILE_BAD_INDEX;
    return FONT_FILE_OK;
}

FontFileStatus parse(const uint8_t* data, size_t size, FontFileData& font) {
    fontfile::ByteReader in(data, size);
    char magic[3];
    if (!in.bytes(magic, 3) || std::memcmp(magic, "GLF", 3) != 0)
        return FONT_FILE_BAD_MAGIC;
    if (!in.bytes(font.name, 96))
        return FONT_FILE_TRUNCATED;
    font.name[96] = '\0';
    font.symbolCount = in.u8();
    if (!in.skip(kHeaderSize - 100))
        return FONT_FILE_TRUNCATED;
    for (int n = 0; n < font.symbolCount; ++n) {
        uint8_t code = in.u8();
        auto s = std::make_unique<FontFileSymbol>();
        s->vertexCount = in.u8();
        s->triangleCount = in.u8();
        s->contourCount = in.u8();
        if (!in.ok())
            return FONT_FILE_TRUNCATED;
        if (font.symbols[code])
            return FONT_FILE_REPEATED_SYMBOL;
        FontFileStatus r = readSymbol(in, *s);
        if (r != FONT_FILE_OK)
            return r;
        font.symbols[code] = std::move(s);
    }
    return FONT_FILE_OK;
}

void putF32(std::vector<uint8_t>& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(bits >> (8 * i)));
}

} // namespace

FontFileStatus parseFontFile(const uint8_t* data, size_t size, FontFileData& font) {
    clearFont(font);
    FontFileStatus r = parse(data, size, font);
    if (r != FONT_FILE_OK)
        clearFont(font);
    return r;
}

std::vector<uint8_t> writeFontFile(const FontFileData& font) {
    std::vector<uint8_t> out(kHeaderSize, 0);
    std::memcpy(out.data(), "GLF", 3);
    std::memcpy(out.data() + 3, font.name, 96);
    int count = 0;
    for (int code = 0; code < 256; ++code) {
        const FontFileSymbol* s = font.symbols[code].get();
        if (!s)
            continue;
        ++count;
        out.push_back(uint8_t(code));
        out.push_back(s->vertexCount);
        out.push_back(s->triangleCount);
        out.push_back(s->contourCount);
        for (size_t i = 0; i < size_t(s->vertexCount) * 2; ++i)
            putF32(out, i < s->vertices.size() ? s->vertices[i] : 0.0f);
        for (size_t i = 0; i < size_t(s->triangleCount) * 3; ++i)
            out.push_back(i < s->triangles.size() ? s->triangles[i] : 0);
        for (size_t i = 0; i < s->contourCount; ++i)
            out.push_back(i < s->contourEnd.size() ? s->contourEnd[i] : 0);
    }
    if (count > 255)
        return {}; // the count field is one byte
    out[99] = uint8_t(count);
    return out;
}

bool readWholeFile(const char* fileName, std::vector<uint8_t>& out) {
    out.clear();
    if (!fileName)
        return false;
    std::FILE* f = std::fopen(fileName, "rb");
    if (!f)
        return false;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out.insert(out.end(), chunk, chunk + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}
