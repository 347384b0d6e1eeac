// The data-prefix rule: how many body bytes of each tag come before its subchunks.
#pragma once

#include <cstdint>

#include "scene3ds/chunktags3ds.h"

enum prefixkind3ds {
    PrefixLeaf,             // no subchunks: the whole body is data
    PrefixNone,             // container: subchunks start right after the header
    PrefixFixed,            // a fixed number of bytes
    PrefixString,           // a NUL-terminated string of at most strlimit bytes
    PrefixStringPlus,       // a string, then a fixed number of bytes
    PrefixValueStringValue, // 16-bit value, string, 32-bit value
    PrefixCountedFaces      // 16-bit count n, then n faces of 8 bytes
};

struct prefixrule3ds {
    prefixkind3ds kind;
    uint32_t fixed;    // bytes (PrefixFixed, PrefixStringPlus)
    uint32_t strlimit; // NUL included
};

prefixrule3ds PrefixRule3ds(chunktag3ds tag);

// Moves the current stream past the prefix of a chunk whose header it has just read; false on a
// short read or a string without NUL within its limit.
bool SkipPrefix3ds(chunktag3ds tag);
