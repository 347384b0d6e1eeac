// The demo file: a header (magic, version) and then records, each a type, a payload length and
// the payload, all little-endian; the reader checks every byte against the file's bounds. The end
// record closes with a checksum of every byte before it, so a damaged demo is refused when opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

constexpr char MAGIC[8] = {'H', 'W', 'D', 'E', 'M', 'O', '\r', '\n'};
constexpr uint16_t VERSION = 2;    // 2: the game's own random numbers, the checksum
constexpr size_t HEADER_SIZE = 12; // magic, u16 version, u16 reserved (0)
constexpr size_t RECORD_HEAD = 3;  // u8 type, u16 payload length

// What the game read from the platform, in the order it read it.
enum RecordType : uint8_t {
    REC_TICK = 1,   // u32 milliseconds
    REC_KEY = 2,    // u16 virtual key, u16 key state
    REC_CURSOR = 3, // u8 result, i32 x, i32 y
    REC_PEEK = 4,   // u8 taken, u32 message, u64 wParam, i64 lParam
    REC_FRAME = 5,  // a buffer swap: one frame ends (no payload)
    REC_END = 6     // u32 frame count, u32 checksum; the last record of a finished demo
};

struct Record {
    RecordType type;
    uint32_t a; // tick, key, cursor result, peek taken, end frame count
    uint32_t b; // key state, message, end checksum
    int64_t x;  // cursor x, wParam
    int64_t y;  // cursor y, lParam
};

// Payload length each record type must have.
size_t payloadSize(RecordType type);

// Appends one record's bytes.
void encode(const Record& r, std::vector<unsigned char>& out);
// Appends the end record with its checksum: `earlier` is the checksum of the bytes written before
// `out` (0 when there are none), and the record's own head and frame count count too.
void encodeEnd(uint32_t frames, uint32_t earlier, std::vector<unsigned char>& out);

// CRC-32 of `size` bytes continued from the checksum of the bytes before them (0 at the start).
uint32_t checksum(const unsigned char* data, size_t size, uint32_t earlier = 0);
void encodeHeader(std::vector<unsigned char>& out);

// Parses a whole demo. On failure returns false with one line (no newline) saying what is wrong
// and where; records then holds what was read before the fault.
bool parse(const unsigned char* data, size_t size, std::vector<Record>& records,
           std::string& error);

// Reads and parses a file; the error names the file.
bool load(const char* path, std::vector<Record>& records, std::string& error);

} // namespace demo
