// Material extraction: colour and percentage rules, transparency and shading, maps and their
// tiling bits, and where reading stops.
#include "scene3ds/scenetest.h"

using namespace scenetest;
using scenebuild::f32Chunk;
using scenebuild::rgb;
using scenebuild::u16Chunk;

namespace {

class MaterialTest : public SceneTest {
  protected:
    // Loads a mesh file whose only material, "Mat", holds what body writes, and fetches it into
    // the one record the test reuses.
    template <class Body> material3ds* fetch(Body body) {
        return fetchFile(editor([&](ChunkWriter& w) {
            chunk(w, MATERIAL_BLOCK, [&] {
                chunk(w, MATERIAL_NAME, [&] { w.string("Mat"); });
                body(w);
            });
        }));
    }
    material3ds* fetchFile(const ChunkWriter& file) {
        GetMaterialByName3ds(load(file), "Mat", &mat_);
        return mat_;
    }
    ~MaterialTest() override { ReleaseMaterial3ds(&mat_); }

  private:
    material3ds* mat_ = nullptr;
};

} // namespace

TEST_F(MaterialTest, ColourPercentageAndTransparencyRules) {
    material3ds* m = fetch([](ChunkWriter& w) {
        chunk(w, MATERIAL_DIFFUSE, [&] { // float colours are never used
            chunk(w, COLOR_FLOAT, [&] { w.raw("123456789012", 12); });
            rgb(w, COLOR_BYTE, 255, 128, 0);
        });
        chunk(w, MATERIAL_AMBIENT, [&] { // the alternate wins, even when it comes first
            rgb(w, COLOR_BYTE_ALT, 1, 2, 3);
            rgb(w, COLOR_BYTE, 9, 8, 7);
        });
        scenebuild::percent(w, MATERIAL_SHININESS, 25);
        chunk(w, 0xA041, [&] { // the integer wins even when it comes later
            f32Chunk(w, PERCENT_FLOAT, 0.75f);
            u16Chunk(w, PERCENT_INT, 40);
        });
        chunk(w, 0xA053, [&] { f32Chunk(w, PERCENT_FLOAT, 0.3f); });
        chunk(w, 0xA052, [] {});
        scenebuild::percent(w, 0xA084, -10);
        scenebuild::percent(w, 0xA042, 99); // accepted, ignored
        chunk(w, 0xA08A, [] {});            // negates only a transparency before it
        scenebuild::percent(w, 0xA050, 30);
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m->diffuse.g, 128 / 255.0f);
    EXPECT_EQ(m->diffuse.b, 0.0f);
    EXPECT_FLOAT_EQ(m->ambient.g, 2 / 255.0f);
    EXPECT_FLOAT_EQ(m->shininess, 0.25f);
    EXPECT_FLOAT_EQ(m->percentA041, 0.4f);
    EXPECT_EQ(m->percentA053, 0.3f);
    EXPECT_EQ(m->percentA052, 0.0f);
    EXPECT_FLOAT_EQ(m->percentA084, -0.1f);
    EXPECT_FLOAT_EQ(m->percentA050, 0.3f);
    EXPECT_EQ(ftkerr3ds, 0);
    // The builder's extras: alternate colours, float transparency then the falloff flag,
    // shading, reflection, a bump amount and map options.
    scenebuild::Material extras{"Mat", {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, 40, "a.bmp"};
    extras.extras = true;
    m = fetchFile(editor([&](ChunkWriter& w) { scenebuild::material(w, extras); }));
    EXPECT_FLOAT_EQ(m->specular.b, 7 / 255.0f);
    EXPECT_EQ(m->percentA050, -0.5f);
    EXPECT_EQ(m->shading, Gouraud);
    EXPECT_EQ(m->hasreflect, 1);
    EXPECT_EQ(m->reflectflag9, 1);
    EXPECT_EQ(m->reflectflag17, 0);
    EXPECT_EQ(m->reflectvalue2, 2u);
    EXPECT_FLOAT_EQ(m->mapA230.percent, 0.3f);
    EXPECT_EQ(m->texmap.tiling, Decal);
    EXPECT_FLOAT_EQ(m->texmap.tint1.g, 8 / 255.0f);
    EXPECT_EQ(ftkerr3ds, 0);
}

TEST_F(MaterialTest, MapFieldsAndTilingBits) {
    struct Scalar {
        uint16_t tag;
        float bitmap3ds::*field;
    };
    const Scalar scalars[] = {{0xA353, &bitmap3ds::blur},    {0xA354, &bitmap3ds::uscale},
                              {0xA356, &bitmap3ds::vscale},  {0xA358, &bitmap3ds::uoffset},
                              {0xA35A, &bitmap3ds::voffset}, {0xA35C, &bitmap3ds::rotation}};
    material3ds* m = fetch([&](ChunkWriter& w) {
        chunk(w, MATERIAL_TEXTURE_MAP, [&] {
            scenebuild::percent(w, 0xA042, 0); // an unhandled child of a map is passed over
            u16Chunk(w, PERCENT_INT, 80);
            chunk(w, MAP_FILE_NAME, [&] { w.string("abcdefgh.bmp"); });
            u16Chunk(w, MAP_TILING, 0x0001 | 0x0010 | 0x0100 | 0x0020 | 0x0002 | 0x0008 | 0x0080);
            for (size_t i = 0; i < 6; ++i)
                f32Chunk(w, scalars[i].tag, i + 0.5f);
            rgb(w, 0xA360, 255, 0, 0);
            rgb(w, 0xA368, 0, 255, 0);
        });
        chunk(w, 0xA33A, [&] {
            f32Chunk(w, PERCENT_FLOAT, 0.4f);
            u16Chunk(w, MAP_TILING, 0x0001 | 0x0080 | 0x0040);
        });
        chunk(w, 0xA33A, [&] { f32Chunk(w, 0xA354, 9); }); // a later one is not reset first
        chunk(w, 0xA230, [&] {
            u16Chunk(w, PERCENT_INT, 10);
            chunk(w, 0xA252, [&] { w.i16(70); }); // the bump amount wins
        });
        chunk(w, 0xA204, [&] { u16Chunk(w, MAP_TILING, 0x0200); });
        chunk(w, 0xA210, [&] { u16Chunk(w, MAP_TILING, 0x0040); });
        u16Chunk(w, 0xA320, 0x0201);
        chunk(w, 0xA338, [&] { w.u8(3); });
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(ftkerr3ds, 0);
    const bitmap3ds& t = m->texmap;
    EXPECT_STREQ(t.name, "abcdefgh.bmp");
    EXPECT_FLOAT_EQ(t.percent, 0.8f);
    EXPECT_EQ(t.tiling, Decal);
    EXPECT_EQ(t.ignorealpha, 1);
    EXPECT_EQ(t.filter, SummedArea);
    EXPECT_EQ(t.mirror, 1);
    EXPECT_EQ(t.negative, 1);
    EXPECT_EQ(t.tint, RGBLumaTint);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(t.*scalars[i].field, i + 0.5f) << scalars[i].tag;
    EXPECT_EQ(t.tint1.r, 1.0f);
    EXPECT_EQ(t.tint2.g, 1.0f); // untouched default
    EXPECT_EQ(t.tint5.g, 1.0f);
    EXPECT_EQ(t.tint5.b, 0.0f);
    ASSERT_EQ(t.procsize, 2u);
    EXPECT_EQ(t.procdata[1], 2);
    EXPECT_EQ(m->mapA34C.procsize, 1u);
    EXPECT_EQ(m->mapA33A.percent, 0.4f);
    EXPECT_EQ(m->mapA33A.tiling, Both);
    EXPECT_EQ(m->mapA33A.tint, AlphaTint);
    EXPECT_EQ(m->mapA33A.uscale, 9.0f);
    EXPECT_FLOAT_EQ(m->mapA230.percent, 0.7f);
    EXPECT_EQ(m->mapA204.tint, RGBTint);
    EXPECT_EQ(m->mapA204.tiling, Tile);
    EXPECT_EQ(m->mapA210.tint, Alpha);
}

TEST_F(MaterialTest, ReadingStopsAtAnUnusableChildUnlessErrorsAreIgnored) {
    auto floatColour = [](ChunkWriter& w) {
        chunk(w, MATERIAL_DIFFUSE,
              [&] { chunk(w, COLOR_FLOAT, [&] { w.raw("123456789012", 12); }); });
    };
    auto unknown = [](ChunkWriter& w) { chunk(w, 0xA777, [] {}); };
    struct Case {
        void (*bad)(ChunkWriter&);
        int ignore;
        uint32_t error;
        float shininess; // the child after the bad one
    };
    const Case cases[] = {{floatColour, 0, ERR_UNFOUND_CHUNK, 0.0f},
                          {unknown, 0, ERR_INVALID_CHUNK, 0.0f},
                          {unknown, 1, ERR_INVALID_CHUNK, 0.6f}};
    for (const Case& c : cases) {
        ignoreftkerr3ds = c.ignore;
        material3ds* m = fetch([&](ChunkWriter& w) {
            scenebuild::colour(w, MATERIAL_AMBIENT, {255, 0, 0});
            c.bad(w);
            scenebuild::percent(w, MATERIAL_SHININESS, 60);
        });
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->ambient.r, 1.0f);
        EXPECT_FLOAT_EQ(m->shininess, c.shininess) << c.error << " " << c.ignore;
        EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{c.error});
        ClearErrList3ds();
    }
}
