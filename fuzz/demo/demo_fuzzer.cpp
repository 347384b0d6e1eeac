// Fuzz harness for the demo reader: arbitrary bytes must give records or one line, never a crash.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/demo/demo_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<demo::Record> records;
    std::string error;
    if (demo::parse(data, size, records, error)) {
        // A demo accepted is well formed: it ends with its end record (and a checksum that
        // holds), and re-encoding it gives back exactly the bytes read.
        if (records.empty() || records.back().type != demo::REC_END) {
            std::abort();
        }
        std::vector<unsigned char> again;
        demo::encodeHeader(again);
        for (const demo::Record& r : records) {
            demo::encode(r, again);
        }
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) {
            std::abort();
        }
        // The checksum catches any one byte changed, wherever it is.
        std::vector<unsigned char> changed(data, data + size);
        changed[(size * 7919u + data[size / 2]) % size] ^= 0x5A;
        if (demo::parse(changed.data(), changed.size(), records, error)) {
            std::abort();
        }
    } else if (error.empty() || error.find('\n') != std::string::npos) {
        std::abort();
    }
    return 0;
}
