// Writing and reading demo files: fixed little-endian fields, every read bounds-checked.
#include "platform/demo/demo_file.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace demo {

namespace {

// Larger than any session anyone plays (hours of frames); a bigger file is not ours.
constexpr long MAX_FILE_BYTES = 512L * 1024 * 1024;

void put(std::vector<unsigned char>& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
}

struct Reader {
    const unsigned char* data;
    size_t size;
    size_t pos;

    bool has(size_t n) const { return n <= size - pos; }
    uint64_t get(int bytes) {
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v |= static_cast<uint64_t>(data[pos + i]) << (8 * i);
        }
        pos += static_cast<size_t>(bytes);
        return v;
    }
};

// CRC-32 (the reflected polynomial 0xEDB88320) a byte at a time from a table built on first use.
uint32_t crcStep(uint32_t crc, unsigned char byte) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
}

std::string at(const char* what, size_t offset) {
    char line[160];
    std::snprintf(line, sizeof line, "%s at byte %zu", what, offset);
    return line;
}

} // namespace

size_t payloadSize(RecordType type) {
    switch (type) {
    case REC_TICK:
    case REC_KEY:
        return 4;
    case REC_END:
        return 8;
    case REC_CURSOR:
        return 9;
    case REC_PEEK:
        return 21;
    case REC_FRAME:
        return 0;
    }
    return SIZE_MAX;
}

void encodeHeader(std::vector<unsigned char>& out) {
    out.insert(out.end(), MAGIC, MAGIC + sizeof MAGIC);
    put(out, VERSION, 2);
    put(out, 0, 2);
}

void encode(const Record& r, std::vector<unsigned char>& out) {
    out.push_back(r.type);
    put(out, payloadSize(r.type), 2);
    switch (r.type) {
    case REC_TICK:
        put(out, r.a, 4);
        break;
    case REC_END:
        put(out, r.a, 4);
        put(out, r.b, 4);
        break;
    case REC_KEY:
        put(out, r.a, 2);
        put(out, r.b, 2);
        break;
    case REC_CURSOR:
        put(out, r.a, 1);
        put(out, static_cast<uint64_t>(r.x), 4);
        put(out, static_cast<uint64_t>(r.y), 4);
        break;
    case REC_PEEK:
        put(out, r.a, 1);
        put(out, r.b, 4);
        put(out, static_cast<uint64_t>(r.x), 8);
        put(out, static_cast<uint64_t>(r.y), 8);
        break;
    case REC_FRAME:
        break;
    }
}

uint32_t checksum(const unsigned char* data, size_t size, uint32_t earlier) {
    uint32_t crc = ~earlier;
    for (size_t i = 0; i < size; ++i) {
        crc = crcStep(crc, data[i]);
    }
    return ~crc;
}

void encodeEnd(uint32_t frames, uint32_t earlier, std::vector<unsigned char>& out) {
    encode(Record{REC_END, frames, 0, 0, 0}, out);
    const size_t sum = out.size() - 4;
    const uint32_t crc = checksum(out.data(), sum, earlier);
    out.resize(sum);
    put(out, crc, 4);
}

bool parse(const unsigned char* data, size_t size, std::vector<Record>& records,
           std::string& error) {
    records.clear();
    Reader in{data, size, 0};
    if (!in.has(sizeof MAGIC) || std::memcmp(data, MAGIC, sizeof MAGIC) != 0) {
        error = "not a Hoopwind demo";
        return false;
    }
    in.pos = sizeof MAGIC;
    if (!in.has(4)) {
        error = "truncated header";
        return false;
    }
    const unsigned version = static_cast<unsigned>(in.get(2));
    const unsigned reserved = static_cast<unsigned>(in.get(2));
    if (version != VERSION || reserved != 0) {
        char line[120];
        std::snprintf(line, sizeof line, "demo version %u, this game plays version %u", version,
                      VERSION);
        error = line;
        return false;
    }
    uint32_t frames = 0;
    while (in.pos < size) {
        const size_t start = in.pos;
        if (!in.has(RECORD_HEAD)) {
            error = at("truncated record", start);
            return false;
        }
        Record r = {};
        r.type = static_cast<RecordType>(in.get(1));
        const size_t length = static_cast<size_t>(in.get(2));
        if (payloadSize(r.type) == SIZE_MAX) {
            error = at("unknown record", start);
            return false;
        }
        if (length != payloadSize(r.type)) {
            error = at("record of the wrong length", start);
            return false;
        }
        if (!in.has(length)) {
            error = at("truncated record", start);
            return false;
        }
        switch (r.type) {
        case REC_TICK:
            r.a = static_cast<uint32_t>(in.get(4));
            break;
        case REC_END:
            r.a = static_cast<uint32_t>(in.get(4));
            r.b = static_cast<uint32_t>(in.get(4));
            break;
        case REC_KEY:
            r.a = static_cast<uint32_t>(in.get(2));
            r.b = static_cast<uint32_t>(in.get(2));
            break;
        case REC_CURSOR:
            r.a = static_cast<uint32_t>(in.get(1));
            r.x = static_cast<int32_t>(static_cast<uint32_t>(in.get(4)));
            r.y = static_cast<int32_t>(static_cast<uint32_t>(in.get(4)));
            break;
        case REC_PEEK:
            r.a = static_cast<uint32_t>(in.get(1));
            r.b = static_cast<uint32_t>(in.get(4));
            r.x = static_cast<int64_t>(in.get(8));
            r.y = static_cast<int64_t>(in.get(8));
            break;
        case REC_FRAME:
            ++frames;
            break;
        }
        if (r.a > 1 && (r.type == REC_CURSOR || r.type == REC_PEEK)) {
            error = at("damaged record", start);
            return false;
        }
        records.push_back(r);
        if (r.type == REC_END) {
            if (r.a != frames) {
                error = at("frame count does not match the frames", start);
                return false;
            }
            if (in.pos != size) {
                error = at("data after the end", in.pos);
                return false;
            }
            const uint32_t sum = checksum(data, size - 4);
            if (sum != r.b) {
                char line[120];
                std::snprintf(line, sizeof line,
                              "damaged: the checksum 0x%08x does not match the contents (0x%08x)",
                              r.b, sum);
                error = line;
                return false;
            }
            return true;
        }
    }
    error = at("truncated: no end record", size);
    return false;
}

bool load(const char* path, std::vector<Record>& records, std::string& error) {
    records.clear();
    struct Closer {
        void operator()(FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<FILE, Closer> file(std::fopen(path, "rb"));
    if (!file) {
        error = std::string(path) + ": cannot open the demo";
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (static_cast<long>(bytes.size() + n) > MAX_FILE_BYTES) {
            error = std::string(path) + ": too large for a demo";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (std::ferror(file.get())) {
        error = std::string(path) + ": cannot read the demo";
        return false;
    }
    std::string why;
    if (!parse(bytes.data(), bytes.size(), records, why)) {
        error = std::string(path) + ": " + why;
        return false;
    }
    return true;
}

} // namespace demo
