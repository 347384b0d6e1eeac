// Module-internal file access: the current file and bounded little-endian reads.
#include "scene3ds/stream3ds_local.h"

#include <sys/stat.h>

#include <cstdio>

namespace stream3ds {

namespace {

file3ds* current = nullptr;
uint8_t currentIndex = 0;

// The stream position is tracked here so that seeks to where the stream already stands cost
// nothing; it is forgotten whenever another file becomes current.
uint64_t pos = 0;
bool posKnown = false;
uint64_t readLimit = UINT64_MAX;

} // namespace

file3ds* currentFile() {
    return current;
}

uint8_t currentSlot() {
    return currentIndex;
}

void makeCurrent(file3ds* file) {
    if (file != current)
        posKnown = false;
    current = file;
    currentIndex = file ? file->index : 0;
}

void setLimit(uint64_t end) {
    readLimit = end;
}

uint64_t limit() {
    return readLimit;
}

bool seek(uint64_t offset) {
    if (!current || !current->stream)
        return false;
    if (posKnown && pos == offset)
        return true;
    if (offset > static_cast<uint64_t>(INT64_MAX) ||
        fseeko(current->stream, static_cast<off_t>(offset), SEEK_SET) != 0) {
        posKnown = false;
        return false;
    }
    pos = offset;
    posKnown = true;
    return true;
}

uint64_t tell() {
    if (!posKnown && current && current->stream) {
        off_t at = ftello(current->stream);
        if (at >= 0) {
            pos = static_cast<uint64_t>(at);
            posKnown = true;
        }
    }
    return pos;
}

uint64_t remaining() {
    uint64_t at = tell();
    return at < readLimit ? readLimit - at : 0;
}

uint64_t fileLength() {
    if (!current || !current->stream)
        return 0;
    struct stat st;
    if (fstat(fileno(current->stream), &st) != 0 || st.st_size < 0)
        return 0;
    return static_cast<uint64_t>(st.st_size);
}

bool readBytes(void* dst, size_t n) {
    if (!current || !current->stream)
        return false;
    if (n == 0)
        return true;
    if (n > remaining())
        return false;
    size_t got = fread(dst, 1, n, current->stream);
    pos += got;
    return got == n;
}

bool readU8(uint8_t& v) {
    return readBytes(&v, 1);
}

bool readU16(uint16_t& v) {
    uint8_t b[2];
    if (!readBytes(b, 2))
        return false;
    v = le16(b);
    return true;
}

bool readI16(int16_t& v) {
    uint16_t u;
    if (!readU16(u))
        return false;
    v = static_cast<int16_t>(u);
    return true;
}

bool readU32(uint32_t& v) {
    uint8_t b[4];
    if (!readBytes(b, 4))
        return false;
    v = le32(b);
    return true;
}

bool readF32(float& v) {
    uint8_t b[4];
    if (!readBytes(b, 4))
        return false;
    v = lef32(b);
    return true;
}

bool readFloats(float* dst, size_t n) {
    uint8_t b[4 * 32] = {}; // zeroed only to keep the analyzer from a path readBytes cannot take
    while (n > 0) {
        size_t batch = n < 32 ? n : 32;
        if (!readBytes(b, 4 * batch))
            return false;
        for (size_t i = 0; i < batch; ++i)
            dst[i] = lef32(b + 4 * i);
        dst += batch;
        n -= batch;
    }
    return true;
}

bool readString(char* out, size_t maxLen) {
    if (!current || !current->stream || maxLen == 0)
        return false;
    // One bulk read, then a seek back to just past the NUL (within the stream buffer, so cheap).
    uint64_t start = tell();
    size_t want = maxLen;
    uint64_t left = remaining();
    if (left < want)
        want = static_cast<size_t>(left);
    size_t got = want ? fread(out, 1, want, current->stream) : 0;
    pos += got;
    const void* nul = std::memchr(out, '\0', got);
    if (!nul) {
        out[0] = '\0';
        return false;
    }
    size_t len = static_cast<size_t>(static_cast<const char*>(nul) - out);
    return seek(start + len + 1);
}

bool skipString(size_t maxLen) {
    char buf[1024];
    if (maxLen >= sizeof buf)
        maxLen = sizeof buf - 1;
    return readString(buf, maxLen);
}

} // namespace stream3ds
