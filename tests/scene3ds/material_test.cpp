// Material extraction: colour and percentage rules, the texture map, and where reading stops.
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

// What the model loader reads: colours, the shininess and the texture map's file name.
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
        chunk(w, MATERIAL_SHININESS, [&] { // the integer wins even when it comes later
            chunk(w, PERCENT_FLOAT, [&] { w.f32(0.75f); });
            chunk(w, PERCENT_INT, [&] { w.u16(25); });
        });
        chunk(w, MATERIAL_TEXTURE_MAP, [&] {
            percent(w, 0xA042, 0); // an unhandled child of a map is passed over
            stringChunk(w, MAP_FILE_NAME, "abcdefgh.bmp");
        });
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(ftkerr3ds, 0);
    EXPECT_EQ(m->diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m->diffuse.g, 128 / 255.0f);
    EXPECT_EQ(m->diffuse.b, 0.0f);
    EXPECT_FLOAT_EQ(m->ambient.g, 2 / 255.0f);
    EXPECT_FLOAT_EQ(m->shininess, 0.25f);
    EXPECT_STREQ(m->texmap.name, "abcdefgh.bmp");
}

TEST_F(MaterialTest, ReadingStopsAtAnUnusableChild) {
    auto floatColour = [](ChunkWriter& w) {
        chunk(w, MATERIAL_DIFFUSE,
              [&] { chunk(w, COLOR_FLOAT, [&] { w.raw("123456789012", 12); }); });
    };
    auto unknown = [](ChunkWriter& w) { chunk(w, 0xA777, [] {}); };
    const struct {
        void (*bad)(ChunkWriter&);
        uint32_t error;
    } cases[] = {{floatColour, ERR_UNFOUND_CHUNK}, {unknown, ERR_INVALID_CHUNK}};
    for (const auto& c : cases) {
        material3ds* m = fetch([&](ChunkWriter& w) {
            colour(w, MATERIAL_AMBIENT, {255, 0, 0});
            c.bad(w);
            percent(w, MATERIAL_SHININESS, 60);
        });
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->ambient.r, 1.0f);
        EXPECT_EQ(m->shininess, 0.0f) << c.error << ": the child after the bad one is read";
        EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{c.error});
        ClearErrList3ds();
    }
}
