// Bounds-checked little-endian reads from a byte block; every read says whether it fitted.
#pragma once

#include <cstddef>
#include <cstdint>

// True when [offset, offset + count) lies inside a block of `size` bytes (no overflow).
inline bool SpanFits(size_t size, uint64_t offset, uint64_t count) {
    return offset <= size && count <= size - offset;
}

inline bool ReadU16(const uint8_t* bytes, size_t size, uint64_t offset, uint16_t* out) {
    if (!SpanFits(size, offset, 2))
        return false;
    *out = static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    return true;
}

inline bool ReadU32(const uint8_t* bytes, size_t size, uint64_t offset, uint32_t* out) {
    if (!SpanFits(size, offset, 4))
        return false;
    *out = static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<uint32_t>(bytes[offset + 3]) << 24);
    return true;
}

inline bool ReadI32(const uint8_t* bytes, size_t size, uint64_t offset, int32_t* out) {
    uint32_t v;
    if (!ReadU32(bytes, size, offset, &v))
        return false;
    *out = static_cast<int32_t>(v);
    return true;
}
