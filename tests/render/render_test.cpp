// Bitmap decoding, pixel by pixel and damaged files refused; models from scene files, drawn.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>

#include "platform/headless.h"
#include "render/image.h"
#include "render/maxmesh.h"
#include "render/sphere.h"
#include "render/texture.h"
#include "scene3ds/scene3ds.h"
#include "shared/globals.h"
#include "shared/vector3f.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"
#include "support/scenebuilder.h"

using namespace bmpbuild;
using namespace scenebuild;

namespace {

using ImagePtr = std::unique_ptr<ImageRec, void (*)(ImageRec*)>;

ImagePtr decode(const std::vector<uint8_t>& bytes) {
    return ImagePtr(DecodeDIBImage(bytes.data(), bytes.size()), FreeImageRec);
}

// Every pixel of `image` (RGB, bottom row first) equals `pic`.
::testing::AssertionResult samePicture(const ImageRec* image, int width, int height,
                                       const Picture& pic) {
    if (!image || image->width != width || image->height != height)
        return ::testing::AssertionFailure() << "no image of " << width << "x" << height;
    for (int i = 0; i < width * height; ++i) {
        Rgb want = pic(i % width, i / width);
        if (!std::equal(want.begin(), want.end(), image->data + 3 * i))
            return ::testing::AssertionFailure() << "pixel " << i % width << "," << i / width;
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> boxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : headless::messageBoxes()) {
        EXPECT_EQ(box.caption, "Error");
        texts.push_back(box.text);
    }
    headless::clearMessageBoxes();
    return texts;
}

// Palette indices per row (bottom row first); -1 and indices past the table are black.
Picture fromPalette(const std::vector<Rgb>& pal, const Words& index) {
    return
        [pal, index](int x, int y) { return index(x, y) < pal.size() ? pal[index(x, y)] : Rgb{}; };
}
Picture fromRows(const std::vector<Rgb>& pal, const std::vector<std::vector<int>>& rows) {
    return fromPalette(pal, [rows](int x, int y) { return static_cast<uint32_t>(rows[y][x]); });
}

Layout of(int w, int h, int bits, const std::vector<uint8_t>& stored, int entries = 0,
          uint32_t header = 0) {
    return {w, h, uint16_t(bits), 0, 0, 0, true, false, header, palette(entries), {}, stored};
}

// Run-length codes, with the data size the header gives (0: none).
Layout rle(std::vector<uint8_t> codes, uint32_t size = 0, int width = 4, int height = 2,
           int bits = 8) {
    Layout s = of(width, height, bits, codes, 1 << bits);
    s.compression = bits == 8 ? 1 : 2, s.sizeImage = size;
    return s;
}

// The colour each mask makes of a stored word: its field scaled to 0..255; no mask is black.
Picture fromMasks(const std::vector<uint32_t>& masks, const Words& word) {
    return [masks, word](int x, int y) {
        Rgb c{};
        for (int i = 0; i < 3; ++i) {
            uint32_t m = masks[i], v = word(x, y) & m;
            for (; m && !(m & 1); m >>= 1)
                v >>= 1;
            c[i] = m ? static_cast<uint8_t>((uint64_t(v) * 255 + m / 2) / m) : 0;
        }
        return c;
    };
}

using Form = std::tuple<std::string, Layout, Picture>; // what, how it is stored, what it shows

std::vector<Form> forms() {
    std::vector<Form> f;
    const auto n = [](int i) { return std::to_string(i); };
    for (int w : {1, 2, 3, 4, 5})
        for (bool topDown : {false, true})
            f.push_back({"24-bit width " + n(w) + (topDown ? " top-down" : ""),
                         of(w, topDown ? -3 : 3, 24, pack24(w, 3, topDown, gradient)), gradient});
    Layout bare = of(5, 3, 24, pack24(5, 3, false, gradient));
    bare.fileHeader = false;
    f.push_back({"24-bit without file header", bare, gradient});
    bare.coreHeader = true;
    f.push_back({"24-bit core header without file header", bare, gradient});
    Layout offset = of(2, 2, 24, pack24(2, 2, false, gradient));
    offset.bits.insert(offset.bits.begin(), 8, 0xEE), offset.bitsOffsetOverride = 14 + 40 + 8;
    f.push_back({"pixels where the file header's offset says", offset, gradient});

    const std::vector<Rgb> pal = palette(256);
    for (int bits : {1, 4, 8}) {
        Words in = [bits](int x, int y) { return (x * 31u + y * 97u + 200u) % (1u << bits); };
        for (int w : {1, 5, 9})
            for (bool core : {false, true}) {
                const bool topDown = w == 5 && !core; // core heights are unsigned
                Layout s = of(w, topDown ? -3 : 3, bits, pack(w, 3, bits, topDown, in), 1 << bits);
                s.coreHeader = core;
                f.push_back({n(bits) + "-bit width " + n(w) + (core ? " core" : ""), s,
                             fromPalette(pal, in)});
            }
    }
    // A short table: pixels start after 4 entries; indices past it are black.
    Words six = [](int x, int y) { return static_cast<uint32_t>((x + y * 3) % 6); };
    Layout shortTable = of(6, 2, 8, pack(6, 2, 8, false, six), 4);
    shortTable.fileHeader = false, shortTable.clrUsed = 4;
    f.push_back({"8-bit with a 4-entry table", shortTable, fromPalette(palette(4), six)});

    const Words word = [](int x, int y) { return 0x9E3779B9u * (x * 7u + y * 13u + 1u); };
    // What, bits, masks, and whether they are stored (else the bit count implies them).
    const std::tuple<const char*, int, std::vector<uint32_t>, bool> fields[] = {
        {"16-bit 5-5-5", 16, {0x7C00, 0x03E0, 0x001F}, false},
        {"16-bit bit fields 5-6-5", 16, {0xF800, 0x07E0, 0x001F}, true},
        {"32-bit x-r-g-b", 32, {0xFF0000, 0xFF00, 0xFF}, false},
        {"32-bit bit fields without green", 32, {0xFF, 0, 0xFF000000}, true},
    };
    for (const auto& [what, bits, masks, stored] : fields) {
        Layout s = of(5, 3, bits, pack(5, 3, bits, false, word));
        if (stored)
            s.compression = 3, s.masks = masks;
        f.push_back({what, s, fromMasks(masks, word)});
    }

    // Run-length 8: runs, an odd absolute run (padded), a delta, end of line, end of bitmap.
    // clang-format off
    Layout r8 = rle({3, 9,  0, 3, 10, 11, 12, 0,  0, 0,
                     0, 3, 20, 21, 22, 0,  0, 2, 2, 0,  1, 12,  0, 0,
                     0, 2,  5, 0,  1, 13,  0, 1}, 32, 6, 3);
    // clang-format on
    f.push_back(
        {"run-length 8", r8,
         fromRows(pal,
                  {{9, 9, 9, 10, 11, 12}, {20, 21, 22, -1, -1, 12}, {-1, -1, -1, -1, -1, 13}})});
    // Run-length 4, top-down: alternating nibbles in runs and absolute runs.
    f.push_back(
        {"run-length 4", rle({5, 0xAB, 0, 3, 0x12, 0x30, 0, 0, 2, 0x45, 0, 1}, 0, 8, -2, 4),
         fromRows(palette(16), {{4, 5, -1, -1, -1, -1, -1, -1}, {10, 11, 10, 11, 10, 1, 2, 3}})});
    return f;
}

class Image : public ::testing::Test {
  protected:
    void SetUp() override { headless::clearMessageBoxes(); }
};

const char *const UnknownForm = "Unknown DIB file format.", *const OutOfMemory = "Out of memory.",
                  *const Conversion = "Image file conversion error.";

constexpr float Eps = 1e-5f;
// Each value within Eps of the one wanted.
::testing::AssertionResult near(const std::vector<float>& got, const std::vector<float>& want) {
    for (size_t i = 0; i < want.size(); ++i)
        if (!(std::abs(got[i] - want[i]) <= Eps))
            return ::testing::AssertionFailure() << i << ": " << got[i] << " not " << want[i];
    return ::testing::AssertionSuccess();
}
const auto modelview = [](std::array<float, 16> m = {}) {
    return glGetFloatv(GL_MODELVIEW_MATRIX, m.data()), m;
};
const auto glInt = [](GLenum e, GLint v = 0) { return glGetIntegerv(e, &v), v; };

// A quad over x0..x1, y0..y1 at depth z with texture coordinates 0..1, in the named material.
Mesh Rect(const std::string& name, float x0, float y0, float x1, float y1,
          const std::string& material = "", float z = 0) {
    Mesh m;
    m.name = name, m.verts = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
    m.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, m.faces = {{0, 1, 2}, {0, 2, 3}};
    if (!material.empty())
        m.groups = {material};
    return m;
}

class ModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok() && cwd_.ok());
        headless::clearMessageBoxes();
        ASSERT_TRUE(testdata::writeFile("tex.bmp", bmpbuild::gradientFile(2, 2)));
    }

    auto Load(const std::vector<Material>& materials, const std::vector<Mesh>& meshes) {
        EXPECT_TRUE(testdata::writeFile("model.3ds", scene(materials, meshes)));
        ClearErrList3ds();
        return std::make_unique<maxMesh>("model.3ds");
    }

    headless::OffscreenGL gl_;
    testdata::ScratchDir dir_;
    testdata::WorkingDir cwd_{dir_.path()};
};

} // namespace

TEST_F(Image, EveryFormDecodesToItsPicture) {
    for (const auto& [what, s, pic] : forms())
        EXPECT_TRUE(samePicture(decode(build(s)).get(), s.width, std::abs(s.height), pic)) << what;
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(Image, FilesAreReadWholeAndDamagedOnesRefusedWithOneBox) {
    testdata::ScratchDir dir;
    ASSERT_TRUE(testdata::writeFile(dir.file("good.bmp"), gradientFile(300, 200))); // 176 kB
    ImagePtr good(LoadBMP(dir.file("good.bmp").c_str()), FreeImageRec);
    EXPECT_TRUE(samePicture(good.get(), 300, 200, gradient));
    std::string missing = dir.file("nothere.bmp");
    EXPECT_TRUE(LoadBMP(missing.c_str()) == nullptr && boxTexts().empty());
    EXPECT_EQ(LoadDIBImage(missing.c_str()), nullptr);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Failed to open DIB file " + missing + ".\n"});
    const std::tuple<const char*, void (*)(Layout&), const char*> damages[] = {
        {"41-byte header", [](Layout& s) { s.headerSize = 41; }, UnknownForm},
        {"2 bits", [](Layout& s) { s.bitCount = 2; }, Conversion},
        {"24 bits run-length", [](Layout& s) { s.compression = 1; }, Conversion},
        {"compression 4", [](Layout& s) { s.compression = 4; }, Conversion},
        {"width -1", [](Layout& s) { s.width = -1; }, Conversion},
        {"height 0", [](Layout& s) { s.height = 0; }, Conversion},
        {"height INT32_MIN", [](Layout& s) { s.height = INT32_MIN; }, Conversion},
        {"overflowing size", [](Layout& s) { s.width = s.height = INT32_MAX; }, OutOfMemory},
        {"over the pixel limit", [](Layout& s) { s.width = 1 << 16, s.height = 257; }, OutOfMemory},
        {"pixels missing", [](Layout& s) { s.width = s.height = 1 << 12; }, Conversion},
        {"one byte short", [](Layout& s) { s.bits.pop_back(); }, Conversion},
        {"offset past the end", [](Layout& s) { s.bitsOffsetOverride = 0x7FFFFFF0; }, Conversion},
        {"table past the end", [](Layout& s) { s.bitCount = 8, s.clrUsed = 1 << 30; }, Conversion},
        {"masks cut", [](Layout& s) { s.bitCount = 32, s.compression = 3, s.bits = {}; },
         Conversion},
    };
    for (const auto& [what, change, message] : damages) {
        Layout s = of(4, 3, 24, pack24(4, 3, false, gradient));
        change(s);
        EXPECT_EQ(decode(build(s)), nullptr) << what;
        EXPECT_EQ(boxTexts(), std::vector<std::string>{message}) << what;
    }
    // Run-length codes that leave the picture or never end, and files too short for a header.
    const std::pair<std::vector<uint8_t>, const char*> files[] = {
        {build(rle({5, 1, 0, 1})), Conversion},                         // run past the row
        {build(rle({2, 1, 0, 3, 1, 2, 3, 0, 0, 1})), Conversion},       // absolute run past the row
        {build(rle({0, 2, 0, 3, 0, 1})), Conversion},                   // delta past the last row
        {build(rle({0, 2, 5, 0, 0, 1})), Conversion},                   // delta past the row end
        {build(rle({1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1})), Conversion}, // run after the last row
        {build(rle({2, 1, 0, 0})), Conversion},                         // no end of bitmap
        {build(rle({0, 4, 1, 2, 3})), Conversion}, // codes cut inside an absolute run
        {build(rle({2, 1, 0, 1}, 2)), Conversion}, // end code beyond the image size
        {{}, UnknownForm},
        {{'B', 'M', 0, 0}, UnknownForm},
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        EXPECT_EQ(decode(files[i].first), nullptr) << "file " << i;
        EXPECT_EQ(boxTexts(), std::vector<std::string>{files[i].second}) << "file " << i;
    }
}

// Every change of a component refreshes the cached length; a zero vector stays as it is.
TEST(Vector, EveryChangeRefreshesTheLength) {
    Vector3f v, w(3, 4, 12), zero;
    std::vector<float> lengths;
    v.assign(w), lengths.push_back(v.length);
    v.add(Vector3f(-3, -4, 0)), lengths.push_back(v.length);
    v.setAll(2), lengths.push_back(v.length);
    v.normalize(), zero.normalize();
    lengths.insert(lengths.end(), {v.length, w.difference({3, 4, 0}).length,
                                   w.cross({1, 0, 0}).length, zero.length + zero.x});
    EXPECT_TRUE(near(lengths, {13, 12, std::sqrt(12.0f), 1, 12, std::sqrt(160.0f), 0}));
}

TEST_F(ModelTest, CubeHasOutwardNormalsAndBoundingSpheres) {
    Mesh box = cube();
    auto model = Load({}, {box});
    ASSERT_EQ(model->numMeshes, 1);
    const MESH& m = model->meshes[0];
    ASSERT_TRUE(m.numVerts == 8 && m.numFaces == 12);
    EXPECT_TRUE(
        near({m.bounds.center.x, m.bounds.center.z, m.bounds.radius}, {1, 1, std::sqrt(3.0f)}));
    // The debug view's sphere: 15 slices and 15 stacks of lines; the matrix left as found.
    std::vector<GLfloat> fb(1 << 16);
    const auto before = modelview();
    glMatrixMode(GL_PROJECTION), glOrtho(-10, 10, -10, 10, -10, 10); // all of it in view
    glMatrixMode(GL_MODELVIEW);
    glFeedbackBuffer(GLsizei(fb.size()), GL_2D, fb.data()), glRenderMode(GL_FEEDBACK);
    model->meshes[0].bounds.draw();
    EXPECT_EQ(glRenderMode(GL_RENDER), 5 * (15 * 14 + 15 * 15)); // rings, then meridians
    EXPECT_TRUE(modelview() == before && glGetError() == GL_NO_ERROR);
    for (int f = 0; f < 12; ++f) {
        // Sphere on the centroid of a right triangle with legs 2; normal twice the area, outward.
        const FACE& face = m.faces[f];
        const Vector3f& c = face.bounds.center;
        Vector3f sum(-3 * c.x, -3 * c.y, -3 * c.z);
        for (int k = 0; k < 3; ++k)
            sum.add(m.verts[m.indices[3 * f + k]].pos);
        Vector3f out = c.difference(m.bounds.center);
        const float outward = face.normal.x * out.x + face.normal.y * out.y + face.normal.z * out.z;
        EXPECT_TRUE(near({sum.length, face.bounds.radius, outward, float(m.indices[3 * f + 1])},
                         {0, std::sqrt(20.0f) / 3, 4, float(box.faces[f][1])}))
            << "face " << f;
    }
    for (int j = 0; j < 8; ++j) {
        // Smoothed: unit length and leaning out of the cube on every axis at a corner.
        const float* n = &m.normalArray[3 * j];
        EXPECT_TRUE(near({m.vertexArray[3 * j + 1], n[0] * n[0] + n[1] * n[1] + n[2] * n[2]},
                         {box.verts[j].y, 1}));
        Vector3f out = m.verts[j].pos.difference(m.bounds.center);
        EXPECT_TRUE(n[0] * out.x > 0 && n[1] * out.y > 0 && n[2] * out.z > 0) << "vertex " << j;
    }
}

TEST_F(ModelTest, TexturesMaterialsAndMeshesAreLoadedWithDamageLeftOut) {
    // The texels themselves show in the drawing test, whose 2 x 2 texture has unaligned rows.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    GLuint texture = LoadGLTextures("tex.bmp");
    ASSERT_NE(texture, 0u);
    GLint filter = 0; // and the caller's alignment is left as found
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(
        (std::vector<GLint>{glInt(GL_TEXTURE_BINDING_2D), filter, glInt(GL_UNPACK_ALIGNMENT)}),
        (std::vector<GLint>{GLint(texture), GL_NEAREST, 2}));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // Missing files are silent; undecodable ones give the decoder's box. Neither makes a texture.
    EXPECT_TRUE(LoadGLTextures("missing.bmp") == 0u && LoadGLTextures(nullptr) == 0u);
    EXPECT_TRUE(headless::messageBoxes().empty());
    ASSERT_TRUE(testdata::writeFile("bad.bmp", build(of(1, 1, 24, {}, 0, 108))));
    EXPECT_TRUE(LoadGLTextures("bad.bmp") == 0u && headless::messageBoxes().size() == 1u);
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_EQ(next, texture + 1);
    headless::clearMessageBoxes(); // materials next
    Mesh two = Rect("b", 0, 0, 1, 1);
    two.groups = {"other", "dup"}; // only the first group counts; names are case-sensitive (c)
    auto model = Load({{"dup", {255, 0, 0}, {0, 128, 0}, {0, 0, 255}, 25, "tex.bmp"},
                       {"dup", {0, 0, 0}, {0, 255, 0}, {0, 0, 0}, 0, ""},
                       {"other", {0, 0, 0}, {0, 0, 255}, {0, 0, 0}, 0, "MISSING.BMP"}},
                      {Rect("a", 0, 0, 1, 1, "dup"), two, Rect("c", 0, 0, 1, 1, "Other"),
                       Rect("d", 0, 0, 1, 1)}); // d: no group at all
    ASSERT_EQ(model->numMats, 3);
    // Colours show in the drawing test; shininess stays as the database holds it.
    const MATERIAL& p = model->mats[0];
    EXPECT_TRUE(p.shininess == 0.25f && p.hasTexture && glIsTexture(p.texture)) << p.shininess;
    // A missing texture file leaves the material textured with name 0, silently.
    EXPECT_TRUE(model->mats[2].hasTexture && model->mats[2].texture == 0u);
    EXPECT_TRUE(headless::messageBoxes().empty());
    const int want[] = {0, 2, -1, -1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(model->meshes[i].matIndex, want[i]) << i;
    // Meshes in file order, damaged faces and short coordinate lists dropped.
    Mesh far = Rect("far", -1, -1, 1, 1, "", 50);
    far.uvs = {{0, 0}, {1, 0}, {1, 1}, {0.25f, 0.75f}};
    Mesh bad = Rect("bad", -1, -1, 1, 1);
    bad.uvs.pop_back();                                       // one short: none kept
    bad.faces = {{0, 1, 2}, {0, 2, 4}, {4, 1, 0}, {0, 2, 3}}; // 4 is one past the last vertex
    Mesh empty;
    empty.name = "empty", empty.faces = {{0, 1, 2}};
    model = Load({}, {far, bad, empty});
    ASSERT_EQ(model->numMeshes, 3);
    const MESH& b = model->meshes[1]; // each mesh has its own sphere
    EXPECT_TRUE(near({model->meshes[0].bounds.center.z, b.bounds.center.z, b.bounds.radius},
                     {50, 0, std::sqrt(2.0f)}));
    for (int j = 0; j < 4; ++j)
        EXPECT_TRUE(model->meshes[0].texCoordArray[2 * j + 1] == far.uvs[j][1] &&
                    b.texCoordArray[2 * j] == 0.0f)
            << j;
    ASSERT_EQ(b.numFaces, 2);
    EXPECT_TRUE(b.indices[5] == 3 && b.verts[1].faceCount == 1);
    EXPECT_TRUE(model->meshes[2].numFaces == 0 && model->meshes[2].bounds.radius == 0.0f);

    maxMesh missing("no-such-model.3ds");
    missing.draw();
    EXPECT_TRUE(missing.numMeshes == 0 && headless::messageBoxes().empty());
}

TEST_F(ModelTest, DrawingShowsMaterialsTexelsAndLeavesDamagedFacesOut) {
    Mesh plain = Rect("plain", -0.9f, -0.9f, -0.1f, -0.1f, "nosuch");
    plain.faces = {{0, 1, 2}, {0, 2, 40}}; // the upper-left triangle names a missing vertex
    auto model = Load({{"red", {255, 0, 0}, {10, 20, 30}, {40, 50, 60}, 30, ""},
                       {"tex", {0, 0, 0}, {255, 0, 0}, {0, 0, 0}, 0, "tex.bmp"}},
                      {Rect("red", -0.9f, 0.1f, -0.5f, 0.5f, "red"), plain,
                       Rect("pic", 0.1f, -0.4f, 0.9f, 0.4f, "tex")});
    // Where, then the colour unlit and lit (by a white ambient light only).
    const std::tuple<int, int, Rgb, Rgb> spots[] = {
        {96, 312, {10, 20, 30}, {255, 0, 0}},     // diffuse unlit, the material's ambient lit
        {224, 72, {204, 204, 204}, {51, 51, 51}}, // no material: the plain one
        {96, 168, {0, 0, 0}, {0, 0, 0}},          // the dropped triangle
        {416, 192, gradient(0, 0), {0, 0, 0}},    // texels unchanged: drawn in white
        {544, 192, gradient(1, 0), {0, 0, 0}},    // (lit by the material's black ambient)
        {416, 288, gradient(0, 1), {0, 0, 0}},    {320, 400, {0, 0, 0}, {0, 0, 0}}, // no mesh there
    };
    const float white[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    const bool saved = USE_LIGHTS;
    for (bool lit : {false, true}) {
        glClear(GL_COLOR_BUFFER_BIT), USE_LIGHTS = lit;
        (lit ? glEnable : glDisable)(GL_LIGHTING);
        model->draw(), glDisable(GL_LIGHTING);
        std::vector<unsigned char> fb = headless::readFramebuffer();
        for (const auto& [x, y, dark, bright] : spots) {
            const unsigned char* p = &fb[(static_cast<size_t>(y) * 640 + x) * 4];
            EXPECT_EQ((Rgb{p[0], p[1], p[2]}), lit ? bright : dark) << x << "," << y << lit;
        }
        EXPECT_EQ(GLuint(glInt(GL_TEXTURE_BINDING_2D)), model->mats[1].texture);
        glDisable(GL_TEXTURE_2D);
    }
    float diffuse[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 1.0f) << "the last mesh's material is left set";
    USE_LIGHTS = saved;
}

// Ours against the quadric spheres they replace, lit and tilted: few channels differ, by a level.
TEST_F(ModelTest, OurSpheresDrawTheQuadricSpheresPicture) {
    glMatrixMode(GL_PROJECTION), gluPerspective(45.0, 640.0 / 480.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.0f, 0.0f, -2.0f), glRotatef(30.0f, 1.0f, 0.3f, 0.0f);
    for (GLenum on : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0})
        glEnable(on);
    const float specular[4] = {0.7f, 0.6f, 0.5f, 1.0f}, shininess = 20.0f; // shows the shading
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shininess);
    std::unique_ptr<GLUquadric, void (*)(GLUquadric*)> q(gluNewQuadric(), gluDeleteQuadric);
    gluQuadricNormals(q.get(), GLU_SMOOTH);
    // Sizes in turn, so a size drawn before is never taken for another.
    const std::tuple<float, int, bool> sizes[] = {{0.6f, 15, false}, {0.6f, 15, true},
                                                  {0.3f, 15, false}, {0.3f, 9, false},
                                                  {0.3f, 9, true},   {0.3f, 2, false}};
    for (auto [radius, n, wire] : sizes) {
        gluQuadricDrawStyle(q.get(), wire ? GLU_LINE : GLU_FILL);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT), gluSphere(q.get(), radius, n, n);
        const auto theirs = headless::readFramebuffer();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        (wire ? drawWireSphere : drawSolidSphere)(radius, n, n);
        const auto ours = headless::readFramebuffer();
        int differ = 0, most = 0;
        for (size_t c = 0; c < ours.size(); ++c)
            differ += ours[c] != theirs[c], most = std::max(most, std::abs(ours[c] - theirs[c]));
        EXPECT_TRUE(differ <= 100 && most <= 2)
            << radius << " " << n << " " << wire << ": " << differ << " by " << most;
    }
}
