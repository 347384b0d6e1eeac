// ChunkWriter: builds .3ds chunk files in memory (nested chunks, sizes filled in on end()).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ChunkWriter {
  public:
    // Opens a chunk: writes its tag and a size placeholder that end() fills in.
    void begin(uint16_t tag);
    // Closes the innermost open chunk; does nothing when none is open.
    void end();
    // Writes a header with a fixed size that end() never touches (for damaged files).
    void header(uint16_t tag, uint32_t size);

    void u8(uint8_t v);
    void u16(uint16_t v);
    void u32(uint32_t v);
    void i16(int16_t v);
    void f32(float v);
    // Writes the characters and the terminating NUL.
    void string(const char* s);
    void raw(const void* data, size_t size);

    // Overwrites four bytes at an earlier offset (little-endian).
    void patchU32(size_t offset, uint32_t v);

    size_t size() const { return buf_.size(); }
    size_t depth() const { return open_.size(); }
    const std::vector<uint8_t>& bytes() const { return buf_; }
    // Writes the bytes to a file; false when it cannot be written completely.
    bool writeFile(const std::string& path) const;

  private:
    std::vector<uint8_t> buf_;
    std::vector<size_t> open_;
};
