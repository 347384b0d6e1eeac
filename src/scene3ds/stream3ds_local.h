// Module-internal file access: the current file and bounded little-endian reads.
#pragma once

#include <cstdint>
#include <cstring>

#include "scene3ds/filetable3ds.h"

namespace stream3ds {

// The file all low-level reads and seeks act on (null for none), and its slot.
file3ds* currentFile();
uint8_t currentSlot();
void makeCurrent(file3ds* file);

// Reads stop at this absolute offset: a read that would cross it fails like a short read.
void setLimit(uint64_t end);
uint64_t limit();

bool seek(uint64_t offset);
uint64_t tell();
// Bytes left before the limit.
uint64_t remaining();
// Length of the current file, or 0 when it cannot be measured.
uint64_t fileLength();

// Each read returns false on a short read (end of file or limit), leaving the output unspecified.
bool readBytes(void* dst, size_t n);
bool readU8(uint8_t& v);
bool readU16(uint16_t& v);
bool readI16(int16_t& v);
bool readU32(uint32_t& v);
bool readF32(float& v);
bool readFloats(float* dst, size_t n);
// Reads a NUL-terminated string of at most maxLen bytes (NUL included) into out (maxLen + 1
// bytes); false when no NUL lies within maxLen bytes or before the limit.
bool readString(char* out, size_t maxLen);
// Moves past a NUL-terminated string of at most maxLen bytes; false as readString.
bool skipString(size_t maxLen);

// Little-endian loads from memory.
inline uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline float lef32(const uint8_t* p) {
    uint32_t bits = le32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

} // namespace stream3ds
