// ChunkWriter: little-endian primitives and nested chunk sizes for building .3ds files.
#include "scene3ds/chunkwriter.h"

#include <cstdio>
#include <cstring>

void ChunkWriter::begin(uint16_t tag) {
    u16(tag);
    open_.push_back(buf_.size());
    u32(0);
}

void ChunkWriter::end() {
    if (open_.empty())
        return;
    size_t sizeAt = open_.back();
    open_.pop_back();
    // The size covers the header, which starts two bytes before the size field.
    patchU32(sizeAt, static_cast<uint32_t>(buf_.size() - (sizeAt - 2)));
}

void ChunkWriter::header(uint16_t tag, uint32_t size) {
    u16(tag);
    u32(size);
}

void ChunkWriter::u8(uint8_t v) {
    buf_.push_back(v);
}

void ChunkWriter::u16(uint16_t v) {
    buf_.push_back(static_cast<uint8_t>(v));
    buf_.push_back(static_cast<uint8_t>(v >> 8));
}

void ChunkWriter::u32(uint32_t v) {
    for (int i = 0; i < 4; ++i)
        buf_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ChunkWriter::i16(int16_t v) {
    u16(static_cast<uint16_t>(v));
}

void ChunkWriter::f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void ChunkWriter::string(const char* s) {
    raw(s, std::strlen(s) + 1);
}

void ChunkWriter::raw(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    buf_.insert(buf_.end(), p, p + size);
}

void ChunkWriter::patchU32(size_t offset, uint32_t v) {
    if (offset + 4 > buf_.size())
        return;
    for (int i = 0; i < 4; ++i)
        buf_[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool ChunkWriter::writeFile(const std::string& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = buf_.empty() || std::fwrite(buf_.data(), 1, buf_.size(), f) == buf_.size();
    if (std::fclose(f) != 0)
        ok = false;
    return ok;
}
