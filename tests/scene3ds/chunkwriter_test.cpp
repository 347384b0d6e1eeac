// ChunkWriter: byte layout of primitives, nested sizes, raw headers and file output.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "scene3ds/scenefiles.h"

using namespace scenetest;

TEST(ChunkWriterTest, PrimitivesAreLittleEndian) {
    ChunkWriter w;
    w.u8(0x12);
    w.u16(0x3456);
    w.u32(0x789ABCDE);
    w.i16(-2);
    w.i32(-3);
    w.f32(1.0f);
    w.f64(2.0);
    w.string("ab");
    std::vector<uint8_t> want = {0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFD,
                                 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F, 0,    0,    0,
                                 0,    0,    0,    0,    0x40, 'a',  'b',  0};
    EXPECT_EQ(w.bytes(), want);
}

TEST(ChunkWriterTest, NestedChunksGetTheirSizes) {
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x3D3D);
    w.u32(7);
    w.end();
    w.begin(0x0002);
    w.end();
    EXPECT_EQ(w.depth(), 1u);
    w.end();
    w.end(); // unbalanced end is ignored
    const auto& b = w.bytes();
    ASSERT_EQ(b.size(), 6u + 10u + 6u);
    EXPECT_EQ(b[0] | b[1] << 8, 0x4D4D);
    EXPECT_EQ(b[2] | b[3] << 8 | b[4] << 16 | b[5] << 24, 22);
    EXPECT_EQ(b[6] | b[7] << 8, 0x3D3D);
    EXPECT_EQ(b[8], 10);
    EXPECT_EQ(b[16] | b[17] << 8, 0x0002);
    EXPECT_EQ(b[18], 6);
}

TEST(ChunkWriterTest, FixedHeadersAndPatchesAndFiles) {
    ChunkWriter w;
    w.header(0x4000, 3);
    w.patchU32(2, 0x01020304);
    w.patchU32(4, 0xFFFFFFFF); // past the end: ignored
    EXPECT_EQ(w.bytes(), (std::vector<uint8_t>{0x00, 0x40, 4, 3, 2, 1}));
    TempDir dir;
    ASSERT_TRUE(w.writeFile(dir.file("x.3ds")));
    std::ifstream in(dir.file("x.3ds"), std::ios::binary);
    std::vector<uint8_t> back((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(back, w.bytes());
    EXPECT_FALSE(w.writeFile(dir.file("missing/x.3ds")));
}
