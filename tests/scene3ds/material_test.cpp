// Material extraction: colour and percentage rules, transparency, maps and their tiling bits, and
// where reading stops.
#include "scene3ds/scenetest.h"

using namespace scenetest;
using namespace scenebuild;

namespace {

class MaterialTest : public SceneTest {
  protected:
    // The only material, "Mat", holds what body writes; one record is reused across fetches.
    template <class Body> material3ds* fetch(Body body) {
        GetMaterialByName3ds(load(editor([&](ChunkWriter& w) {
                                 chunk(w, MATERIAL_BLOCK, [&] {
                                     stringChunk(w, MATERIAL_NAME, "Mat");
                                     body(w);
                                 });
                             })),
                             "Mat", &mat_);
        return mat_;
    }
    ~MaterialTest() override { ReleaseMaterial3ds(&mat_); }

  private:
    material3ds* mat_ = nullptr;
};

} // namespace

TEST_F(MaterialTest, ColourPercentageAndMapRules) {
    material3ds* m = fetch([](ChunkWriter& w) {
        chunk(w, MATERIAL_DIFFUSE, [&] { // float colours are never used
            chunk(w, COLOR_FLOAT, [&] { w.raw("123456789012", 12); });
            rgb(w, COLOR_BYTE, 255, 128, 0);
        });
        chunk(w, MATERIAL_AMBIENT, [&] { // the alternate wins, even when it comes first
            rgb(w, COLOR_BYTE_ALT, 1, 2, 3);
            rgb(w, COLOR_BYTE, 9, 8, 7);
        });
        percent(w, MATERIAL_SHININESS, 25);
        chunk(w, 0xA041, [&] { // the integer wins even when it comes later
            f32Chunk(w, PERCENT_FLOAT, 0.75f);
            u16Chunk(w, PERCENT_INT, 40);
        });
        percent(w, 0xA084, -10);
        percent(w, 0xA050, 30);
        chunk(w, 0xA08A, [] {}); // negates the transparency before it
        chunk(w, MATERIAL_TEXTURE_MAP, [&] {
            percent(w, 0xA042, 0); // an unhandled child of a map is passed over
            u16Chunk(w, PERCENT_INT, 80);
            stringChunk(w, MAP_FILE_NAME, "abcdefgh.bmp");
            u16Chunk(w, MAP_TILING, 0x0001 | 0x0010 | 0x0100 | 0x0020 | 0x0002 | 0x0008 | 0x0080);
            rgb(w, 0xA360, 255, 0, 0);
        });
        chunk(w, 0xA230, [&] {
            u16Chunk(w, PERCENT_INT, 10);
            chunk(w, 0xA252, [&] { w.i16(70); }); // the bump amount wins
        });
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(ftkerr3ds, 0);
    EXPECT_EQ(m->diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m->diffuse.g, 128 / 255.0f);
    EXPECT_EQ(m->diffuse.b, 0.0f);
    EXPECT_FLOAT_EQ(m->ambient.g, 2 / 255.0f);
    EXPECT_FLOAT_EQ(m->shininess, 0.25f);
    EXPECT_FLOAT_EQ(m->percentA041, 0.4f);
    EXPECT_FLOAT_EQ(m->percentA084, -0.1f);
    EXPECT_FLOAT_EQ(m->percentA050, -0.3f);
    const bitmap3ds& t = m->texmap;
    EXPECT_STREQ(t.name, "abcdefgh.bmp");
    EXPECT_FLOAT_EQ(t.percent, 0.8f);
    EXPECT_EQ(t.tiling, Decal);
    EXPECT_EQ(t.ignorealpha, 1);
    EXPECT_EQ(t.filter, SummedArea);
    EXPECT_EQ(t.mirror, 1);
    EXPECT_EQ(t.negative, 1);
    EXPECT_EQ(t.tint, RGBLumaTint);
    EXPECT_EQ(t.tint1.r, 1.0f);
    EXPECT_FLOAT_EQ(m->mapA230.percent, 0.7f);
}

TEST_F(MaterialTest, ReadingStopsAtAnUnusableChildUnlessErrorsAreIgnored) {
    auto floatColour = [](ChunkWriter& w) {
        chunk(w, MATERIAL_DIFFUSE,
              [&] { chunk(w, COLOR_FLOAT, [&] { w.raw("123456789012", 12); }); });
    };
    auto unknown = [](ChunkWriter& w) { chunk(w, 0xA777, [] {}); };
    const struct {
        void (*bad)(ChunkWriter&);
        int ignore;
        uint32_t error;
        float shininess; // the child after the bad one
    } cases[] = {{floatColour, 0, ERR_UNFOUND_CHUNK, 0.0f},
                 {unknown, 0, ERR_INVALID_CHUNK, 0.0f},
                 {unknown, 1, ERR_INVALID_CHUNK, 0.6f}};
    for (const auto& c : cases) {
        ignoreftkerr3ds = c.ignore;
        material3ds* m = fetch([&](ChunkWriter& w) {
            colour(w, MATERIAL_AMBIENT, {255, 0, 0});
            c.bad(w);
            percent(w, MATERIAL_SHININESS, 60);
        });
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->ambient.r, 1.0f);
        EXPECT_FLOAT_EQ(m->shininess, c.shininess) << c.error << " " << c.ignore;
        EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{c.error});
        ClearErrList3ds();
    }
}
