// Writes seed demos for the fuzzer: an empty session, and a short one with every record type.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/demo/demo_file.h"

namespace {

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    struct Closer {
        void operator()(FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<FILE, Closer> f(std::fopen(path.c_str(), "wb"));
    return f && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_make_seeds <folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<unsigned char> empty;
    demo::encodeHeader(empty);
    demo::encodeEnd(0, 0, empty);

    std::vector<unsigned char> session;
    demo::encodeHeader(session);
    demo::encode(demo::Record{demo::REC_TICK, 4242, 0, 0, 0}, session);
    for (int frame = 0; frame < 3; ++frame) {
        demo::encode(demo::Record{demo::REC_PEEK, 1, 0x0201, 0, 0x00320064}, session);
        demo::encode(demo::Record{demo::REC_PEEK, 0, 0, 0, 0}, session);
        demo::encode(demo::Record{demo::REC_KEY, 0x1B, 0, 0, 0}, session);
        demo::encode(demo::Record{demo::REC_KEY, '2', 0x8000, 0, 0}, session);
        demo::encode(demo::Record{demo::REC_CURSOR, 1, 0, 330 - frame, -12}, session);
        demo::encode(demo::Record{demo::REC_FRAME, 0, 0, 0, 0}, session);
    }
    demo::encode(demo::Record{demo::REC_PEEK, 1, 0x0012, 0, 0}, session);
    demo::encodeEnd(3, 0, session);

    if (!writeFile(dir + "/empty.hwd", empty) || !writeFile(dir + "/session.hwd", session)) {
        std::fprintf(stderr, "demo_make_seeds: cannot write to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
