// Font files, the font table, SGI and "BMF" files, and text drawn: layout, glyphs, console, glPrint
#include "font/bmffile.h"
#include "font/fontfile.h"
#include "font/glprint.h"
#include "font/sgiimage.h"
#include "font/vfont.h"
#include "platform/headless.h"
#include "support/datafolder.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct FbPrimitive {
    GLint kind; // its feedback token; GL_LINE_TOKEN for any line, stipple reset or not
    std::vector<std::array<float, 3>> vertices; // object x, y, z under the capture's projection
};

// Glyphs of two triangles each reduced to their x/y extents: minX, maxX, minY and maxY.
using Box = std::array<float, 4>;
enum { L, R, B, T };

// A rectangle: 4 corners, 2 triangles, 1 contour, its own bounds.
FontFileSymbol rectSymbol(float x0, float y0, float x1, float y1) {
    return {4, 2, 1, {x0, y0, x1, y0, x1, y1, x0, y1}, {0, 1, 2, 0, 2, 3}, {3}, x0, x1, y0, y1};
}

Bytes fontBytes(const std::vector<std::pair<char, FontFileSymbol>>& symbols) {
    FontFileData font;
    std::snprintf(font.name, sizeof font.name, "test font");
    for (const auto& [c, s] : symbols)
        font.symbols[static_cast<unsigned char>(c)] = std::make_unique<FontFileSymbol>(s);
    return writeFontFile(font);
}

Bytes layoutFontBytes() {
    // A space with a symbol is still a space.
    return fontBytes({{'A', rectSymbol(-0.5f, -0.5f, 0.5f, 0.5f)},
                      {'B', rectSymbol(-0.3f, -0.8f, 0.3f, 0.6f)},
                      {'C', rectSymbol(-0.6f, -0.4f, 0.2f, 0.9f)},
                      {' ', rectSymbol(-0.1f, -0.1f, 0.1f, 0.1f)},
                      {'\xE9', rectSymbol(-0.25f, -0.5f, 0.25f, 0.75f)}});
}

void putBE(Bytes& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

// SGI images: planes channel-major, bottom row first; run-length files hold rows as literal runs.
Bytes sgiFile(int width, int height, int channels, const Bytes& planes, bool rle) {
    Bytes out = {474 >> 8, 474 & 0xFF, rle, 1}; // magic, storage, bytes per channel
    for (int v : {3, width, height, channels})
        putBE(out, uint32_t(v), 2);
    out.resize(512, 0);
    if (!rle) {
        out.insert(out.end(), planes.begin(), planes.end());
        return out;
    }
    // Each row one literal run and its end (narrow images): row starts, lengths, then the rows.
    const size_t rows = size_t(height) * channels, length = width + 2;
    for (size_t k = 0; k < 2 * rows; ++k)
        putBE(out, uint32_t(k < rows ? 512 + rows * 8 + k * length : length), 4);
    for (size_t r = 0; r < rows; ++r) {
        out.push_back(uint8_t(0x80 | width));
        out.insert(out.end(), &planes[r * width], &planes[r * width] + width), out.push_back(0);
    }
    return out;
}

// A bitmap font: its cells (code, then x, y, width and height in the picture) and the picture.
using Cell = std::pair<unsigned char, std::array<float, 4>>;
Bytes bmfFile(const std::vector<Cell>& cells, const Bytes& sgi) {
    Bytes out(3 + 96, 0);
    std::memcpy(out.data(), "BMFbitmap test", 14);
    float table[256][4] = {};
    for (const auto& [code, cell] : cells)
        std::copy(cell.begin(), cell.end(), table[code]);
    const auto* cellBytes = reinterpret_cast<const uint8_t*>(table); // little-endian, as held here
    out.insert(out.end(), cellBytes, cellBytes + sizeof table);
    out.insert(out.end(), sgi.begin(), sgi.end());
    return out;
}

// What reached the rasteriser while `draw` ran, in object units of the Text view (10 pixels each).
std::vector<FbPrimitive> captureFeedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data()), glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FbPrimitive> prims;
    for (GLint i = 0; i < used;) {
        const GLint token = GLint(buffer[i++]);
        FbPrimitive p{token == GL_LINE_RESET_TOKEN ? GL_LINE_TOKEN : token, {}};
        const bool line = p.kind == GL_LINE_TOKEN;
        const size_t count = token == GL_POLYGON_TOKEN ? size_t(buffer[i++]) : line ? 2 : 1;
        for (size_t k = 0; k < count; ++k, i += 3)
            p.vertices.push_back(
                {(buffer[i] - 320) / 10, (buffer[i + 1] - 240) / 10, 10 * (1 - 2 * buffer[i + 2])});
        prims.push_back(std::move(p));
    }
    return prims;
}

size_t countKind(const std::vector<FbPrimitive>& prims, GLint kind) {
    return size_t(std::count_if(prims.begin(), prims.end(),
                                [&](const FbPrimitive& p) { return p.kind == kind; }));
}

std::vector<Box> glyphBoxes(const std::vector<FbPrimitive>& prims) {
    std::vector<Box> boxes;
    size_t inGroup = 0;
    for (const FbPrimitive& p : prims) {
        if (p.kind != GL_POLYGON_TOKEN)
            continue;
        if (inGroup++ % 2 == 0)
            boxes.push_back({1e9f, -1e9f, 1e9f, -1e9f});
        Box& b = boxes.back();
        for (const auto& v : p.vertices)
            for (int k : {0, 1})
                b[2 * k] = std::min(b[2 * k], v[k]), b[2 * k + 1] = std::max(b[2 * k + 1], v[k]);
    }
    return boxes;
}

// A hand-laid file: header, then `copies` blocks for 'x' of 3 vertices, 1 triangle, 1 contour.
constexpr size_t kTriangles = 128 + 4 + 24, kContour = kTriangles + 3;
Bytes handMadeFile(uint8_t copies = 1) {
    Bytes b(128, 0xEE); // reserved bytes are skipped, whatever they hold
    std::memcpy(b.data(), "GLFHand\0", 8), b[99] = copies;
    const float v[6] = {-0.5f, -1.0f, 0.75f, 0.25f, 0.0f, 1.0f};
    for (int i = 0; i < copies; ++i) {
        b.insert(b.end(), {'x', 3, 1, 1}), b.resize(b.size() + sizeof v);
        std::memcpy(b.data() + b.size() - sizeof v, v, sizeof v);
        b.insert(b.end(), {2, 1, 0, 2}); // the triangle, then the contour's end
    }
    return b;
}

// 3 x 2, channel-major planes: value = 10 * channel + 3 * row + x + 1.
Bytes planes(int channels) {
    Bytes p;
    for (int i = 0; i < 6 * channels; ++i)
        p.push_back(uint8_t(10 * (i / 6) + i % 6 + 1));
    return p;
}

constexpr float kTol = 1e-3f;
auto modelview = [](std::array<float, 16> m = {}) {
    return glGetFloatv(GL_MODELVIEW_MATRIX, m.data()), m;
};

std::vector<std::string> printed; // what glPrint told its observer

class Text : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        vfInit();
        ASSERT_TRUE(testdata::writeFile(dir.file("font.glf"), layoutFontBytes()));
        ASSERT_EQ(vfLoadFont(dir.file("font.glf").c_str()), 0);
        glMatrixMode(GL_PROJECTION), glOrtho(-32, 32, -24, 24, -10, 10); // a 640 x 480 viewport
        glMatrixMode(GL_MODELVIEW);
    }
    headless::OffscreenGL gl;
    testdata::ScratchDir dir;
};

} // namespace

TEST(FontFile, ReadsFieldsRefusesDamageAndLoadsTakeTheFirstFreeSlot) {
    auto bytes = handMadeFile();
    FontFileData font;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    EXPECT_STREQ(font.name, "Hand");
    const FontFileSymbol* s = font.symbols[int('x')].get();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->vertices, (std::vector<float>{-0.5f, -1.0f, 0.75f, 0.25f, 0.0f, 1.0f}));
    EXPECT_TRUE(s->triangles == (Bytes{2, 1, 0}) && s->contourEnd == Bytes{2});
    EXPECT_EQ((std::vector<float>{s->minX, s->maxX, s->minY, s->maxY}),
              (std::vector<float>{-0.5f, 0.75f, -1.0f, 1.0f}));

    const std::tuple<const char*, void (*)(Bytes&), FontFileStatus> cases[] = {
        {"wrong magic", [](auto& b) { b[2] = 'X'; }, FONT_FILE_BAD_MAGIC},
        {"corner past the vertices", [](auto& b) { b[kTriangles + 1] = 3; }, FONT_FILE_BAD_INDEX},
        {"contour end past the vertices", [](auto& b) { b[kContour] = 3; }, FONT_FILE_BAD_INDEX},
        {"a name filling its field", [](auto& b) { std::memset(&b[3], 'N', 96); }, FONT_FILE_OK},
        {"no vertices: start bounds", [](auto& b) { std::fill(b.begin() + 129, b.end(), 0); },
         FONT_FILE_OK},
        {"the same symbol twice", [](auto& b) { b = handMadeFile(2); }, FONT_FILE_REPEATED_SYMBOL},
    };
    for (const auto& [what, damage, expected] : cases) {
        auto damaged = handMadeFile();
        damage(damaged);
        FontFileData f;
        EXPECT_EQ(parseFontFile(damaged.data(), damaged.size(), f), expected) << what;
        EXPECT_EQ(f.symbols[int('x')] == nullptr, expected != FONT_FILE_OK) << what;
        EXPECT_LE(std::strlen(f.name), 96u);
        const FontFileSymbol* x = f.symbols[int('x')].get();
        EXPECT_TRUE(!x || x->vertexCount > 0 ||
                    (x->minX == 10 && x->maxX == -10 && x->minY == 10 && x->maxY == -10));
    }
    // A symbol made empty is written as one: no vertices, triangles or contours.
    const auto emptyBytes = fontBytes({{'e', FontFileSymbol{}}});
    ASSERT_EQ(parseFontFile(emptyBytes.data(), emptyBytes.size(), font), FONT_FILE_OK);
    const FontFileSymbol* e = font.symbols[int('e')].get();
    EXPECT_TRUE(e && e->vertices.empty() && e->triangles.empty() && e->contourEnd.empty());
    // Every truncation; a copy of exactly n bytes lets a sanitizer build catch reads past it.
    for (size_t n = 3; n < bytes.size(); ++n) {
        Bytes cut(bytes.begin(), bytes.begin() + long(n));
        FontFileData f;
        EXPECT_EQ(parseFontFile(cut.data(), cut.size(), f), FONT_FILE_TRUNCATED) << n;
    }
    vfInit();
    testdata::ScratchDir dir;
    auto badMagic = layoutFontBytes();
    badMagic[0] = 'g';
    const std::string good = dir.file("good.glf"), bad = dir.file("bad.glf");
    ASSERT_TRUE(testdata::writeFile(good, layoutFontBytes()) && testdata::writeFile(bad, badMagic));
    auto load = [&] { return vfLoadFont(good.c_str()); };
    // None current; two loads; unloading another font keeps the current one.
    EXPECT_EQ((std::vector<int>{vfGetCurrentFont(), load(), load(), vfUnloadFontId(0),
                                vfGetCurrentFont()}),
              (std::vector<int>{-1, 0, 1, 0, 1}));
    for (bool messages : {false, true}) {
        (messages ? vfEnable : vfDisable)(VF_CONSOLE_MESSAGES);
        testing::internal::CaptureStdout();
        EXPECT_EQ(vfLoadFont(bad.c_str()), -1);
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  messages ? "Error reading font file: incorrect file format\n" : "");
        EXPECT_EQ(vfLoadFont("/nonexistent/times_new1.glf"), -1);
        EXPECT_EQ(vfGetCurrentFont(), 1);
    }
    // The freed slot is reused first; an empty slot cannot become current.
    EXPECT_EQ((std::vector<int>{load(), vfUnloadFont(), vfGetCurrentFont(), vfSetCurrentFont(0),
                                vfSetCurrentFont(1), load()}),
              (std::vector<int>{0, 0, -1, -1, 0, 0}));
    for (int i = 2; i < VF_MAX_FONTS; ++i)
        ASSERT_EQ(load(), i);
    EXPECT_EQ(load(), -1) << "the table is full";
}

TEST(SgiImage, ChannelCountsAndStoragesDecodeAndDamagedFilesFail) {
    // Pixel (2, 1) for 1 to 4 channels: grey, grey and alpha, colour, colour and alpha.
    const Bytes expected[4] = {{6, 6, 6, 255}, {6, 6, 6, 16}, {6, 16, 26, 255}, {6, 16, 26, 36}};
    for (int channels = 1; channels <= 4; ++channels)
        for (bool rle : {false, true}) {
            auto file = sgiFile(3, 2, channels, planes(channels), rle);
            SgiImage img;
            ASSERT_TRUE(sgiDecode(file.data(), file.size(), img)) << channels;
            ASSERT_TRUE(img.width == 3 && img.rgba.size() == 24u);
            EXPECT_EQ(Bytes(img.rgba.end() - 4, img.rgba.end()), expected[channels - 1])
                << channels << " channels" << (rle ? " run-length" : "");
        }
    auto repeat = sgiFile(3, 1, 1, {0, 0, 0}, true);
    repeat.resize(512 + 8), repeat[512 + 7] = 3;
    repeat.insert(repeat.end(), {0x03, 0x42, 0x00}); // a repeat run "3 x 0x42"
    SgiImage img;
    ASSERT_TRUE(sgiDecode(repeat.data(), repeat.size(), img));
    EXPECT_EQ(img.rgba[8], 0x42);
    auto good = sgiFile(3, 2, 3, planes(3), false);
    for (size_t n = 0; n < good.size(); n += 7) {
        Bytes cut(good.begin(), good.begin() + long(n));
        EXPECT_TRUE(!sgiDecode(cut.data(), cut.size(), img) && img.rgba.empty()) << n;
    }
    auto rle = sgiFile(3, 2, 1, planes(1), true);
    // Magic, storage, bytes per channel, five channels, zero width, width 8195 (refused unread),
    // a row start past the end, a literal run of 4 in a row of 3, and so in the last row too.
    const std::pair<size_t, uint8_t> patches[] = {
        {1, 0},      {2, 2},           {3, 3},
        {11, 5},     {7, 0},           {6, 0x20},
        {512, 0x7F}, {512 + 16, 0x84}, {512 + 16 + 5, 0x84}};
    for (const auto& [at, value] : patches) {
        auto b = rle;
        b[at] = value;
        EXPECT_FALSE(sgiDecode(b.data(), b.size(), img)) << "byte " << at;
    }

    auto file = bmfFile({{'a', {0.25f, 0.5f, 0.125f, 0.75f}}}, sgiFile(3, 2, 1, planes(1), false));
    BmfFile bmf;
    ASSERT_TRUE(bmfParse(file.data(), file.size(), bmf));
    EXPECT_FLOAT_EQ(bmf.cells[int('a')].height, 0.75f); // the drawing test shows the rest
    for (size_t n : {size_t(2), size_t(99 + 4096 - 1), file.size() - 1})
        EXPECT_FALSE(bmfParse(file.data(), n, bmf)) << n;
    auto nan = bmfFile({{'a', {0, 0, std::nanf(""), 1}}}, sgiFile(3, 2, 1, planes(1), false));
    EXPECT_FALSE(bmfParse(nan.data(), nan.size(), bmf));
}

TEST_F(Text, StringsAdvanceByInkExtentsPlusSymbolSpaceInEveryDirection) {
    // Ink starts a unit in; pairs advance by facing extents + symbol space (0.2), spaces and
    // missing symbols by 2.0. Per case: text, direction, centring, the leading side, each leading
    // edge.
    const std::tuple<const char*, int, bool, int, std::vector<float>> cases[] = {
        {"CAB", VF_LEFT_TO_RIGHT, false, L, {-1.0f, 0.0f, 1.2f}},
        {"CAB", VF_RIGHT_TO_LEFT, false, R, {1.0f, 0.0f, -1.2f}},
        {"CB", VF_BOTTOM_TO_UP, false, B, {0.2f, 1.7f}},
        {"CB", VF_UP_TO_BOTTOM, false, T, {0.8f, -0.7f}},
        {"AB", VF_LEFT_TO_RIGHT, true, L, {-1.0f, 0.2f}},
        {"A A", VF_UP_TO_BOTTOM, true, T, {1.6f, -0.6f}},
        {"A B", VF_LEFT_TO_RIGHT, false, L, {-1.0f, 1.4f}},
        {"AzB", VF_LEFT_TO_RIGHT, false, L, {-1.0f, 1.2f}},
        {"zA", VF_LEFT_TO_RIGHT, false, L, {1.5f}}, // no leading edge without a first symbol
        {" A", VF_LEFT_TO_RIGHT, false, L, {1.5f}},
        {"A\xE9", VF_LEFT_TO_RIGHT, false, L, {-1.0f, 0.2f}}, // codes above 127 are unsigned
    };
    for (const auto& [text, direction, centred, side, edges] : cases) {
        vfStringDirection(direction), vfStringCentering(centred);
        auto boxes = glyphBoxes(captureFeedback([t = text] { vfDrawSolidString(t); }));
        ASSERT_EQ(boxes.size(), edges.size()) << text;
        for (size_t i = 0; i < boxes.size(); ++i)
            EXPECT_NEAR(boxes[i][side], edges[i], kTol) << text << i;
    }
    float e[4] = {}; // the bounds (minX, minY, maxX, maxY) follow the layout left to right
    auto expectBounds = [&](const std::vector<float>& want) {
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(e[k], want[k], 1e-5) << k;
    };
    vfGetStringBounds(0, "CA B", &e[0], &e[1], &e[2], &e[3]);
    // C: 0.8 + 0.2; A: 1.0 + 0.2; space 2.0; B: 0.6 + 0.2.
    expectBounds({-0.6f, -0.8f, -0.6f + 1.0f + 1.2f + 2.0f + 0.8f, 0.9f});
    vfGetCurrentStringBounds("z  ", &e[0], &e[1], &e[2], &e[3]); // first without a symbol
    expectBounds({0, 10, 6, -10});
    // Each pair is written only when both of its pointers are given; bad ids write nothing.
    float a = 77, b = 77;
    vfGetStringBounds(0, "A", &a, nullptr, &b, nullptr), vfGetStringBounds(9, "A", &a, &a, &b, &b);
    EXPECT_EQ(a, 77);
    vfGetStringBounds(0, "A", nullptr, nullptr, &a, &b);
    EXPECT_TRUE(std::abs(a - 0.7f) < 1e-6f && b == 0.5f) << a << " " << b;
}

TEST_F(Text, GlyphKindsEmitTheirPrimitivesAndDamagedContoursStaySafe) {
    vfSetSymbolDepth(0.5f);
    // Per kind: polygons, lines, lowest and highest z (3D: faces at 1 and 1.5 joined by 4 sides).
    const std::tuple<void (*)(char), size_t, size_t, float, float> kinds[] = {
        {vfDrawSolidSymbol, 2, 0, 0, 0},
        {vfDrawWiredSymbol, 0, 4, 0, 0},
        {vfDraw3DWiredSymbol, 0, 12, 1, 1.5f},
        {vfDraw3DSolidSymbol, 12, 0, 1, 1.5f}};
    for (const auto& [draw, polygons, lines, lowZ, highZ] : kinds) {
        auto prims = captureFeedback([d = draw] { d('A'); });
        EXPECT_EQ(countKind(prims, GL_POLYGON_TOKEN), polygons);
        EXPECT_EQ(countKind(prims, GL_LINE_TOKEN), lines);
        float minZ = 99, maxZ = -99;
        for (const auto& p : prims)
            for (const auto& v : p.vertices)
                minZ = std::min(minZ, v[2]), maxZ = std::max(maxZ, v[2]);
        EXPECT_TRUE(std::abs(minZ - lowZ) < kTol && std::abs(maxZ - highZ) < kTol) << minZ << maxZ;
    }
    EXPECT_TRUE(captureFeedback([] { vfDrawSolidSymbol('q'); }).empty());
    // With texturing on, each corner carries the texture coordinate ((x + 1) / 2, (y + 1) / 2).
    std::vector<GLfloat> fb(128);
    glFeedbackBuffer(GLsizei(fb.size()), GL_3D_COLOR_TEXTURE, fb.data()), glRenderMode(GL_FEEDBACK);
    vfEnable(VF_TEXTURING), vfDrawSolidSymbol('A'), vfDisable(VF_TEXTURING); // corner (-0.5, -0.5)
    ASSERT_GT(glRenderMode(GL_RENDER), 12);
    EXPECT_TRUE(fb[2 + 7] == 0.25f && fb[2 + 8] == 0.25f) << fb[9] << " " << fb[10];

    FontFileSymbol s = rectSymbol(-0.5f, -0.5f, 0.5f, 0.5f), none = s;
    s.contourCount = 3, s.contourEnd = {1, 0, 3}; // the second end goes backwards
    none.contourCount = 0, none.contourEnd.clear();
    ASSERT_TRUE(testdata::writeFile(dir.file("d.glf"), fontBytes({{'d', s}, {'n', none}})));
    ASSERT_GE(vfLoadFont(dir.file("d.glf").c_str()), 0);
    auto prims = captureFeedback(
        [] { vfDrawWiredString("dn"), vfDraw3DSolidString("dn"), vfDraw3DWiredString("dn"); });
    EXPECT_TRUE(glGetError() == GL_NO_ERROR && countKind(prims, GL_LINE_TOKEN) > 0);
}

TEST_F(Text, ConsoleWrapsFeedsScrollsAndDrawsRowsTwoUnitsApart) {
    using Rows = std::vector<std::string>; // rows 0 to 2, then the cursor's column and row
    auto console = [](int c = -1, int r = -1) {
        vfGetConsoleCursor(&c, &r);
        return Rows{vfGetConsoleRow(0), vfGetConsoleRow(1), vfGetConsoleRow(2),
                    std::to_string(c) + "," + std::to_string(r)};
    };
    vfSetConsoleParam(4, 2);
    vfSetConsoleParam(0, 3), vfSetConsoleParam(3, 0); // no grid without columns or rows
    vfPrintString("ab\ncd\t\x01\x80\x7F");
    EXPECT_EQ(console(), (Rows{"ab", "cd\x7F", "", "3,1"})) << "other control bytes are ignored";
    const char bytes[] = {'e', '\0', 'f', '\n'};
    vfPrint(bytes, 3); // the count, not the terminator, decides; e wraps, f scrolls
    EXPECT_EQ(console(), (Rows{"cd\177e", "f", "", "1,1"})) << "a row outside the grid is empty";
    vfConsoleClear();
    EXPECT_EQ(console(), (Rows{"", "", "", "0,0"}));

    vfSetConsoleParam(10, 3), vfDisable(VF_CONSOLE_CURSOR);
    vfPrintString("AB\nC");
    auto boxes = glyphBoxes(captureFeedback([] { vfConsoleDraw(); }));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(std::abs(boxes[0][B] + 0.5f) < kTol && std::abs(boxes[2][B] + 2.4f) < kTol)
        << "second row 2 units down";
    EXPECT_FLOAT_EQ(modelview()[13], -6.0f) << "no push: 3 rows leave the matrix 6 units lower";
    vfInit(); // starts the console afresh too
    EXPECT_EQ(console(), (Rows{"", "", "", "0,0"}));
}

TEST_F(Text, GlPrintFormatsCutsAt255AndDrawsAtTheCurrentPosition) {
    printed.clear(), glTranslatef(4, 1, 0);
    glPrintSetObserver([](const char* text) { printed.push_back(text); });
    const auto before = modelview();
    auto boxes = glyphBoxes(captureFeedback([] { glPrint("A%dB %s", 7, "C"); }));
    EXPECT_EQ(modelview(), before);
    ASSERT_EQ(boxes.size(), 3u) << "the digit has no symbol; A, B and C are drawn";
    EXPECT_TRUE(std::abs(boxes[0][L] - 3.0f) < kTol && std::abs(boxes[0][B] - 0.5f) < kTol);
    vfSetSymbolSpace(-1.0f); // every A on the same spot, so none falls outside the view
    std::string longText(600, 'A');
    EXPECT_EQ(glyphBoxes(captureFeedback([&] { glPrint("%s", longText.c_str()); })).size(), 255u);
    vfUnloadFont();
    EXPECT_TRUE(captureFeedback([] { glPrint("AB"); }).empty());
    glPrintSetObserver(nullptr), glPrint("more");
    EXPECT_EQ(printed, (std::vector<std::string>{"A7B C", std::string(255, 'A'), "AB"}));
}

TEST_F(Text, BitmapFontMasksOutTheGlyphAndAddsThePicture) {
    // 4 x 1 RGB picture: two red texels, two black ones. 'r' uses the red half, 'k' the black.
    Bytes p = {255, 255, 0, 0, /*g*/ 0, 0, 0, 0, /*b*/ 0, 0, 0, 0};
    ASSERT_TRUE(testdata::writeFile(dir.file("f.bmf"), bmfFile({{'r', {0.0f, 0.0f, 0.5f, 1.0f}},
                                                                {'k', {0.5f, 0.0f, 0.5f, 1.0f}}},
                                                               sgiFile(4, 1, 3, p, false))));
    ASSERT_EQ(vfLoadBMFFont(dir.file("f.bmf").c_str()), 0);
    EXPECT_TRUE(std::abs(vfGetBStringWidth(0, "rk") - 1.002f) < 1e-5f && vfGetBFontHeight(0) == 1);
    float right = 0; // each glyph advances by its width + 0.001: "rkr" ends at 2 x 0.501 + 0.5
    for (const FbPrimitive& prim : captureFeedback([] { vfDrawBString("rkr"); }))
        for (const auto& v : prim.vertices)
            right = std::max(right, v[0]);
    EXPECT_NEAR(right, 1.502f, 1e-3);
    glMatrixMode(GL_PROJECTION), glLoadIdentity();
    glOrtho(0, 2, 0, 1.5, -1, 1), glMatrixMode(GL_MODELVIEW); // one cell: 160 x 320 pixels
    glClearColor(0, 0, 1, 1), glClear(GL_COLOR_BUFFER_BIT);
    vfDrawBString("rkr");
    EXPECT_TRUE(!glIsEnabled(GL_BLEND) && !glIsEnabled(GL_TEXTURE_2D)) << "blend state restored";
    auto px = headless::readFramebuffer();
    // x, y, red and blue: a red glyph where the mask cut the blue out, black texels leave the blue.
    const int spots[][4] = {{80, 160, 255, 0},
                            {240, 160, 0, 255},
                            {400, 160, 255, 0},
                            {560, 160, 0, 255},
                            {80, 400, 0, 255}};
    for (const auto& [x, y, red, blue] : spots) {
        const uint8_t* q = &px[(size_t(y) * 640 + x) * 4];
        EXPECT_TRUE(q[0] == red && q[2] == blue) << x << "," << y << ": " << +q[0] << " " << +q[2];
    }
    // The state it changes is put back as found, switched on as well as off.
    glEnable(GL_BLEND), glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE), glBindTexture(GL_TEXTURE_2D, 77);
    vfDrawBString("r");
    auto get = [](GLenum e, GLint v = 0) { return glGetIntegerv(e, &v), v; };
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(
        (std::vector<GLint>{get(GL_BLEND_SRC), get(GL_BLEND_DST), get(GL_TEXTURE_BINDING_2D)}),
        (std::vector<GLint>{GL_SRC_ALPHA, GL_ONE, 77}));
}
