// Material extraction: colour and percentage rules, flags and shading, maps and their tiling
// bits, procedure data, the stopping rules and the material lists.
#include "scene3ds/scenetest.h"

using namespace scenetest;

namespace {

class MaterialTest : public SceneTest {
  protected:
    // Loads a mesh file whose only material block is written by body, then fetches it.
    template <class Body> material3ds* fetch(Body body) {
        ChunkWriter w;
        w.begin(MESH_FILE);
        w.begin(EDITOR_BLOCK);
        w.begin(MATERIAL_BLOCK);
        w.begin(MATERIAL_NAME);
        w.string("Mat");
        w.end();
        body(w);
        w.end();
        w.end();
        w.end();
        database3ds* db = load(write(w, "m" + std::to_string(files_++) + ".3ds"));
        material3ds* mat = nullptr;
        GetMaterialByName3ds(db, "Mat", &mat);
        if (mat)
            mats_.push_back(mat);
        return mat;
    }
    ~MaterialTest() override {
        for (material3ds* m : mats_)
            ReleaseMaterial3ds(&m);
    }

  private:
    int files_ = 0;
    std::vector<material3ds*> mats_;
};

void byteColor(ChunkWriter& w, uint16_t tag, uint8_t r, uint8_t g, uint8_t b) {
    w.begin(tag);
    w.u8(r);
    w.u8(g);
    w.u8(b);
    w.end();
}

void floatChunk(ChunkWriter& w, uint16_t tag, float v) {
    w.begin(tag);
    w.f32(v);
    w.end();
}

void wordChunk(ChunkWriter& w, uint16_t tag, uint16_t v) {
    w.begin(tag);
    w.u16(v);
    w.end();
}

void emptyChunk(ChunkWriter& w, uint16_t tag) {
    w.begin(tag);
    w.end();
}

} // namespace

TEST_F(MaterialTest, ColourRuleUsesByteColoursAndTheirAlternates) {
    material3ds* m = fetch([](ChunkWriter& w) {
        w.begin(MATERIAL_DIFFUSE);
        w.begin(COLOR_FLOAT); // float colours are never used
        w.f32(0.1f);
        w.f32(0.1f);
        w.f32(0.1f);
        w.end();
        byteColor(w, COLOR_BYTE, 255, 128, 0);
        w.end();
        w.begin(MATERIAL_SPECULAR);
        byteColor(w, COLOR_BYTE, 255, 128, 0);
        byteColor(w, COLOR_BYTE_ALT, 0, 0, 255);
        w.end();
        w.begin(MATERIAL_AMBIENT);
        byteColor(w, COLOR_BYTE_ALT, 1, 2, 3); // alternate before the byte colour still wins
        byteColor(w, COLOR_BYTE, 9, 9, 9);
        w.end();
    });
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->name, "Mat");
    EXPECT_EQ(m->diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m->diffuse.g, 0.50196081f);
    EXPECT_EQ(m->diffuse.g, 128 * 0.003921569f);
    EXPECT_EQ(m->diffuse.b, 0.0f);
    EXPECT_EQ(m->specular.r, 0.0f);
    EXPECT_EQ(m->specular.g, 0.0f);
    EXPECT_EQ(m->specular.b, 1.0f);
    EXPECT_EQ(m->ambient.g, 2 * 0.003921569f);
    EXPECT_EQ(ftkerr3ds, 0);
}

TEST_F(MaterialTest, FloatOnlyColourStopsWithUnfoundChunk) {
    material3ds* m = fetch([](ChunkWriter& w) {
        scenebuild::colour(w, MATERIAL_AMBIENT, {255, 0, 0});
        w.begin(MATERIAL_DIFFUSE);
        w.begin(COLOR_FLOAT);
        w.f32(1);
        w.f32(1);
        w.f32(1);
        w.end();
        w.end();
        scenebuild::percent(w, MATERIAL_SHININESS, 50);
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ambient.r, 1.0f);
    EXPECT_EQ(m->diffuse.r, 0.0f);
    EXPECT_EQ(m->shininess, 0.0f); // never reached
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_UNFOUND_CHUNK});
}

TEST_F(MaterialTest, PercentagesIntegersFirstThenFloatsElseZero) {
    material3ds* m = fetch([](ChunkWriter& w) {
        scenebuild::percent(w, MATERIAL_SHININESS, 25);
        w.begin(0xA041);
        floatChunk(w, PERCENT_FLOAT, 0.75f);
        wordChunk(w, PERCENT_INT, 40); // the integer wins even when it comes later
        w.end();
        w.begin(0xA053);
        floatChunk(w, PERCENT_FLOAT, 0.3f);
        w.end();
        emptyChunk(w, 0xA052);
        scenebuild::percent(w, 0xA084, -10);
        scenebuild::percent(w, 0xA042, 99); // accepted, ignored
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->shininess, 25 * 0.01f);
    EXPECT_EQ(m->percentA041, 40 * 0.01f);
    EXPECT_EQ(m->percentA053, 0.3f);
    EXPECT_EQ(m->percentA052, 0.0f);
    EXPECT_EQ(m->percentA084, -10 * 0.01f);
    EXPECT_EQ(ftkerr3ds, 0);
}

TEST_F(MaterialTest, TransparencyFalloffNegationOrder) {
    material3ds* before = fetch([](ChunkWriter& w) {
        emptyChunk(w, 0xA08A);
        scenebuild::percent(w, 0xA050, 30);
    });
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->percentA050, 30 * 0.01f);
    material3ds* after = fetch([](ChunkWriter& w) {
        scenebuild::percent(w, 0xA050, 30);
        emptyChunk(w, 0xA08A);
    });
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->percentA050, -30 * 0.01f);
}

TEST_F(MaterialTest, MapFieldsFromAWellFormedMaterial) {
    material3ds* m = fetch([](ChunkWriter& w) {
        w.begin(MATERIAL_TEXTURE_MAP);
        scenebuild::percent(w, 0xA042, 0); // an unhandled child of a map is passed over
        wordChunk(w, PERCENT_INT, 80);
        w.begin(MAP_FILE_NAME);
        w.string("abcdefgh.bmp");
        w.end();
        wordChunk(w, MAP_TILING, 0x0001 | 0x0010 | 0x0100 | 0x0020 | 0x0002 | 0x0008 | 0x0080);
        floatChunk(w, 0xA353, 0.5f);
        floatChunk(w, 0xA354, 2);
        floatChunk(w, 0xA356, 3);
        floatChunk(w, 0xA358, 4);
        floatChunk(w, 0xA35A, 5);
        floatChunk(w, 0xA35C, 6);
        byteColor(w, 0xA360, 255, 0, 0);
        byteColor(w, 0xA368, 0, 255, 0);
        w.end();
        w.begin(0xA33A);
        floatChunk(w, PERCENT_FLOAT, 0.4f);
        wordChunk(w, MAP_TILING, 0x0001 | 0x0080 | 0x0040);
        w.end();
        w.begin(0xA33A); // a later container of the same tag is not reset first
        floatChunk(w, 0xA354, 9);
        w.end();
        w.begin(0xA230);
        wordChunk(w, PERCENT_INT, 10);
        w.begin(0xA252);
        w.i16(70);
        w.end();
        w.end();
        w.begin(0xA204);
        wordChunk(w, MAP_TILING, 0x0200);
        w.end();
        w.begin(0xA210);
        wordChunk(w, MAP_TILING, 0x0040);
        w.end();
        w.begin(0xA320);
        w.u8(1);
        w.u8(2);
        w.end();
        w.begin(0xA338);
        w.u8(3);
        w.end();
    });
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(ftkerr3ds, 0);
    const bitmap3ds& t = m->texmap;
    EXPECT_STREQ(t.name, "abcdefgh.bmp");
    EXPECT_EQ(t.percent, 80 * 0.01f);
    EXPECT_EQ(t.tiling, Decal);
    EXPECT_EQ(t.ignorealpha, 1);
    EXPECT_EQ(t.filter, SummedArea);
    EXPECT_EQ(t.mirror, 1);
    EXPECT_EQ(t.negative, 1);
    EXPECT_EQ(t.tint, RGBLumaTint);
    EXPECT_EQ(t.blur, 0.5f);
    EXPECT_EQ(t.uscale, 2.0f);
    EXPECT_EQ(t.vscale, 3.0f);
    EXPECT_EQ(t.uoffset, 4.0f);
    EXPECT_EQ(t.voffset, 5.0f);
    EXPECT_EQ(t.rotation, 6.0f);
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
    EXPECT_EQ(m->mapA230.percent, 70 * 0.01f);
    EXPECT_EQ(m->mapA204.tint, RGBTint);
    EXPECT_EQ(m->mapA204.tiling, Tile);
    EXPECT_EQ(m->mapA210.tint, Alpha);
}

TEST_F(MaterialTest, UnknownChildStopsUnlessErrorsAreIgnored) {
    auto body = [](ChunkWriter& w) {
        scenebuild::colour(w, MATERIAL_AMBIENT, {255, 0, 0});
        scenebuild::colour(w, MATERIAL_DIFFUSE, {0, 255, 0});
        scenebuild::colour(w, MATERIAL_SPECULAR, {0, 0, 255});
        emptyChunk(w, 0xA777);
        scenebuild::percent(w, MATERIAL_SHININESS, 60);
    };
    material3ds* m = fetch(body);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->specular.b, 1.0f);
    EXPECT_EQ(m->shininess, 0.0f);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_INVALID_CHUNK});
    ClearErrList3ds();
    ignoreftkerr3ds = 1;
    material3ds* carried = fetch(body);
    ASSERT_NE(carried, nullptr);
    EXPECT_EQ(carried->shininess, 60 * 0.01f);
    EXPECT_EQ(pendingErrors(), std::vector<uint32_t>{ERR_INVALID_CHUNK});
}
