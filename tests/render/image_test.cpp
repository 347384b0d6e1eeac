// Bitmap decoding: every accepted form checked pixel by pixel; damaged files refused with one box.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "platform/headless.h"
#include "render/image.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"

using namespace bmpbuild;

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
    return [pal, index](int x, int y) {
        uint32_t i = index(x, y);
        return i < pal.size() ? pal[i] : Rgb{0, 0, 0};
    };
}
Picture fromRows(const std::vector<Rgb>& pal, const std::vector<std::vector<int>>& rows) {
    return fromPalette(pal, [rows](int x, int y) { return static_cast<uint32_t>(rows[y][x]); });
}

Layout of(int w, int h, int bits, const std::vector<uint8_t>& stored, int entries = 0) {
    Layout s;
    s.width = w;
    s.height = h;
    s.bitCount = static_cast<uint16_t>(bits);
    s.palette = palette(entries);
    s.bits = stored;
    return s;
}

Layout rle(std::vector<uint8_t> codes, int width = 4, int height = 2, int bits = 8) {
    Layout s = of(width, height, bits, codes, 1 << bits);
    s.compression = bits == 8 ? 1 : 2;
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

struct Form {
    std::string what;
    Layout layout;
    Picture picture;
};

std::vector<Form> forms() {
    std::vector<Form> f;
    for (int w : {1, 2, 3, 4, 5})
        for (bool topDown : {false, true})
            f.push_back({"24-bit width " + std::to_string(w) + (topDown ? " top-down" : ""),
                         of(w, topDown ? -3 : 3, 24, pack24(w, 3, topDown, gradient)), gradient});
    Layout bare = of(5, 3, 24, pack24(5, 3, false, gradient));
    bare.fileHeader = false;
    f.push_back({"24-bit without file header", bare, gradient});
    bare.coreHeader = true;
    f.push_back({"24-bit core header without file header", bare, gradient});
    Layout offset = of(2, 2, 24, pack24(2, 2, false, gradient));
    offset.bits.insert(offset.bits.begin(), 8, 0xEE);
    offset.bitsOffsetOverride = 14 + 40 + 8;
    f.push_back({"pixels where the file header's offset says", offset, gradient});

    const std::vector<Rgb> pal = palette(256);
    for (int bits : {1, 4, 8})
        for (int w : {1, 5, 9})
            for (bool core : {false, true}) {
                const bool topDown = w == 5 && !core; // core heights are unsigned
                Words in = [bits](int x, int y) {
                    return (x * 31u + y * 97u + 200u) % (1u << bits);
                };
                Layout s = of(w, topDown ? -3 : 3, bits, pack(w, 3, bits, topDown, in), 1 << bits);
                s.coreHeader = core;
                f.push_back({std::to_string(bits) + "-bit width " + std::to_string(w) +
                                 (core ? " core" : ""),
                             s, fromPalette(pal, in)});
            }
    // A short table: pixels start after 4 entries; indices past it are black.
    Words six = [](int x, int y) { return static_cast<uint32_t>((x + y * 3) % 6); };
    Layout shortTable = of(6, 2, 8, pack(6, 2, 8, false, six), 4);
    shortTable.fileHeader = false;
    shortTable.clrUsed = 4;
    f.push_back({"8-bit with a 4-entry table", shortTable, fromPalette(palette(4), six)});

    const Words word = [](int x, int y) { return 0x9E3779B9u * (x * 7u + y * 13u + 1u); };
    const struct {
        const char* what;
        int bits;
        std::vector<uint32_t> masks;
        bool stored; // else the masks the bit count implies
    } fields[] = {
        {"16-bit 5-5-5", 16, {0x7C00, 0x03E0, 0x001F}, false},
        {"16-bit bit fields 5-6-5", 16, {0xF800, 0x07E0, 0x001F}, true},
        {"32-bit x-r-g-b", 32, {0xFF0000, 0xFF00, 0xFF}, false},
        {"32-bit bit fields without green", 32, {0xFF, 0, 0xFF000000}, true},
    };
    for (const auto& d : fields) {
        Layout s = of(5, 3, d.bits, pack(5, 3, d.bits, false, word));
        if (d.stored)
            s.compression = 3, s.masks = d.masks;
        f.push_back({d.what, s, fromMasks(d.masks, word)});
    }

    // Run-length 8: runs, an odd absolute run (padded), a delta, end of line, end of bitmap.
    // clang-format off
    Layout r8 = rle({3, 9,  0, 3, 10, 11, 12, 0,  0, 0,
                     0, 3, 20, 21, 22, 0,  0, 2, 2, 0,  1, 12,  0, 0,
                     0, 2,  5, 0,  1, 13,  0, 1}, 6, 3);
    // clang-format on
    r8.sizeImage = static_cast<uint32_t>(r8.bits.size());
    f.push_back(
        {"run-length 8", r8,
         fromRows(pal,
                  {{9, 9, 9, 10, 11, 12}, {20, 21, 22, -1, -1, 12}, {-1, -1, -1, -1, -1, 13}})});
    // Run-length 4, top-down: alternating nibbles in runs and absolute runs.
    f.push_back(
        {"run-length 4", rle({5, 0xAB, 0, 3, 0x12, 0x30, 0, 0, 2, 0x45, 0, 1}, 8, -2, 4),
         fromRows(palette(16), {{4, 5, -1, -1, -1, -1, -1, -1}, {10, 11, 10, 11, 10, 1, 2, 3}})});
    return f;
}

class Image : public ::testing::Test {
  protected:
    void SetUp() override { headless::clearMessageBoxes(); }
};

const char* const Unknown = "Unknown DIB file format.";
const char* const Conversion = "Image file conversion error.";
const char* const OutOfMemory = "Out of memory.";

} // namespace

TEST_F(Image, EveryFormDecodesToItsPicture) {
    for (const Form& f : forms()) {
        int rows = f.layout.height < 0 ? -f.layout.height : f.layout.height;
        ImagePtr image = decode(build(f.layout));
        EXPECT_TRUE(samePicture(image.get(), f.layout.width, rows, f.picture)) << f.what;
    }
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(Image, FilesAreReadWholeAndMissingOnesAreQuietOnlyThroughLoadBMP) {
    testdata::ScratchDir dir;
    ASSERT_TRUE(testdata::writeFile(dir.file("good.bmp"), gradientFile(300, 200))); // 176 kB
    ImagePtr good(LoadBMP(dir.file("good.bmp").c_str()), FreeImageRec);
    EXPECT_TRUE(samePicture(good.get(), 300, 200, gradient));
    std::string missing = dir.file("nothere.bmp");
    EXPECT_EQ(LoadBMP(missing.c_str()), nullptr);
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(LoadDIBImage(missing.c_str()), nullptr);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Failed to open DIB file " + missing + ".\n"});
}

TEST_F(Image, DamagedFilesAreRefusedWithOneBox) {
    struct Damage {
        std::string what;
        std::function<void(Layout&)> change;
        const char* message;
    };
    const Damage damages[] = {
        {"41-byte header", [](Layout& s) { s.headerSize = 41; }, Unknown},
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
        {"colour table past the end", [](Layout& s) { s.bitCount = 8, s.clrUsed = 1 << 30; },
         Conversion},
        {"masks past the end", [](Layout& s) { s.bitCount = 32, s.compression = 3, s.bits = {}; },
         Conversion},
        {"end code beyond the image size",
         [](Layout& s) {
             s = rle({2, 1, 0, 1}), s.sizeImage = 2;
         },
         Conversion},
    };
    for (const Damage& d : damages) {
        Layout s = of(4, 3, 24, pack24(4, 3, false, gradient));
        d.change(s);
        EXPECT_EQ(decode(build(s)), nullptr) << d.what;
        EXPECT_EQ(boxTexts(), std::vector<std::string>{d.message}) << d.what;
    }
    // Run-length codes that leave the picture or never end.
    const std::vector<uint8_t> badRuns[] = {
        {5, 1, 0, 1},                         // run past the row
        {2, 1, 0, 3, 1, 2, 3, 0, 0, 1},       // absolute run past the row
        {0, 2, 0, 3, 0, 1},                   // delta past the last row
        {0, 2, 5, 0, 0, 1},                   // delta past the row end
        {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1}, // run after the last row
        {2, 1, 0, 0},                         // no end of bitmap
        {0, 4, 1, 2, 3},                      // codes cut inside an absolute run
    };
    for (const auto& codes : badRuns) {
        EXPECT_EQ(decode(build(rle(codes))), nullptr) << int(codes[0]) << "," << int(codes[1]);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{Conversion});
    }
    for (const std::vector<uint8_t>& bytes :
         {std::vector<uint8_t>{}, std::vector<uint8_t>{'B', 'M', 0, 0}}) {
        EXPECT_EQ(decode(bytes), nullptr);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{Unknown});
    }
}
