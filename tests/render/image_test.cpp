// Bitmap decoding: every accepted form checked pixel by pixel against the picture encoded, and
// every kind of damaged file refused with exactly one "Error" box.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/headless.h"
#include "render/image.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"

using namespace bmpbuild;

namespace {

struct ImageDeleter {
    void operator()(ImageRec* image) const { FreeImageRec(image); }
};
using ImagePtr = std::unique_ptr<ImageRec, ImageDeleter>;

ImagePtr decode(const std::vector<uint8_t>& bytes) {
    return ImagePtr(DecodeDIBImage(bytes.data(), bytes.size()));
}

// Every pixel of `image` (bottom row first) equals `pic`; reports the first few mismatches.
::testing::AssertionResult samePicture(const ImageRec* image, int width, int height,
                                       const Picture& pic) {
    if (!image)
        return ::testing::AssertionFailure() << "no image";
    if (image->width != width || image->height != height)
        return ::testing::AssertionFailure() << "size " << image->width << "x" << image->height;
    int bad = 0;
    auto failure = ::testing::AssertionFailure();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = image->data + (static_cast<size_t>(y) * width + x) * 3;
            Rgb want = pic(x, y);
            if ((p[0] != want[0] || p[1] != want[1] || p[2] != want[2]) && bad++ < 4)
                failure << "(" << x << "," << y << ") is " << int(p[0]) << "," << int(p[1]) << ","
                        << int(p[2]) << " not " << int(want[0]) << "," << int(want[1]) << ","
                        << int(want[2]) << "; ";
        }
    return bad ? failure : ::testing::AssertionSuccess();
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

Picture fromPalette(const std::vector<Rgb>& pal, const Indices& index) {
    return [pal, index](int x, int y) {
        uint8_t i = index(x, y);
        return i < pal.size() ? pal[i] : Rgb{0, 0, 0};
    };
}

// Palette indices per row (bottom row first); -1 is black.
Picture fromRows(const std::vector<Rgb>& pal, const std::vector<std::vector<int>>& rows) {
    return [pal, rows](int x, int y) { return rows[y][x] < 0 ? Rgb{0, 0, 0} : pal[rows[y][x]]; };
}

Layout of24(int w, int h, bool topDown = false) {
    Layout s;
    s.width = w;
    s.height = topDown ? -h : h;
    s.bits = pack24(w, h, topDown, gradient);
    return s;
}

Layout indexed(int w, int h, int bits, bool topDown, const Indices& index, int entries = 0) {
    Layout s;
    s.width = w;
    s.height = topDown ? -h : h;
    s.bitCount = static_cast<uint16_t>(bits);
    s.palette = palette(entries ? entries : 1 << bits);
    s.bits = packIndexed(w, h, bits, topDown, index);
    return s;
}

Layout rle8(std::vector<uint8_t> codes, int width = 4, int height = 2) {
    Layout s;
    s.width = width;
    s.height = height;
    s.bitCount = 8;
    s.compression = 1;
    s.palette = palette(256);
    s.bits = std::move(codes);
    return s;
}

uint8_t scale(uint32_t v, uint32_t max) {
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
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
                         of24(w, 3, topDown), gradient});
    Layout bare = of24(5, 3);
    bare.fileHeader = false;
    f.push_back({"24-bit without file header", bare, gradient});
    bare.coreHeader = true;
    f.push_back({"24-bit core header without file header", bare, gradient});
    Layout offset = of24(2, 2);
    offset.bits.insert(offset.bits.begin(), 8, 0xEE);
    offset.bitsOffsetOverride = 14 + 40 + 8;
    f.push_back({"pixels where the file header's offset says", offset, gradient});

    const Indices idx = [](int x, int y) { return static_cast<uint8_t>(x * 31 + y * 97 + 200); };
    const std::vector<Rgb> pal = palette(256);
    for (int bits : {1, 4, 8})
        for (int w : {1, 5, 9, 17}) {
            Indices in = [bits, idx](int x, int y) {
                return static_cast<uint8_t>(idx(x, y) % (1 << bits));
            };
            for (bool core : {false, true}) {
                Layout s = indexed(w, 3, bits, w == 5 && !core, in); // core heights are unsigned
                s.coreHeader = core;
                f.push_back({std::to_string(bits) + "-bit width " + std::to_string(w) +
                                 (core ? " core" : ""),
                             s, fromPalette(pal, in)});
            }
        }
    // A short table: pixels start after 4 entries; indices past it are black.
    Indices six = [](int x, int y) { return static_cast<uint8_t>((x + y * 3) % 6); };
    Layout shortTable = indexed(6, 2, 8, false, six, 4);
    shortTable.fileHeader = false;
    shortTable.clrUsed = 4;
    f.push_back({"8-bit with a 4-entry table", shortTable, fromPalette(palette(4), six)});

    auto r5 = [](int x, int y) { return static_cast<uint32_t>((x * 7 + y) % 32); };
    auto g5 = [](int x, int y) { return static_cast<uint32_t>((x + y * 11) % 32); };
    auto g6 = [](int x, int y) { return static_cast<uint32_t>((x * 9 + y * 5) % 64); };
    auto b5 = [](int x, int y) { return static_cast<uint32_t>((x * y + 3) % 32); };
    Layout s555;
    s555.width = 5;
    s555.height = 3;
    s555.bitCount = 16;
    s555.bits = packWords(5, 3, 16, false, [&](int x, int y) {
        return 0x8000 | r5(x, y) << 10 | g5(x, y) << 5 | b5(x, y);
    });
    f.push_back({"16-bit 5-5-5", s555, [=](int x, int y) {
                     return Rgb{scale(r5(x, y), 31), scale(g5(x, y), 31), scale(b5(x, y), 31)};
                 }});
    Layout s565 = s555;
    s565.compression = 3;
    s565.masks = {0xF800, 0x07E0, 0x001F};
    s565.bits = packWords(5, 3, 16, false,
                          [&](int x, int y) { return r5(x, y) << 11 | g6(x, y) << 5 | b5(x, y); });
    f.push_back({"16-bit bit fields 5-6-5", s565, [=](int x, int y) {
                     return Rgb{scale(r5(x, y), 31), scale(g6(x, y), 63), scale(b5(x, y), 31)};
                 }});
    Layout xrgb;
    xrgb.width = 3;
    xrgb.height = 2;
    xrgb.bitCount = 32;
    xrgb.bits = packWords(3, 2, 32, false, [](int x, int y) {
        Rgb c = gradient(x, y);
        return 0xAB000000u | c[0] << 16 | c[1] << 8 | c[2];
    });
    f.push_back({"32-bit x-r-g-b", xrgb, gradient});
    Layout masked = xrgb;
    masked.compression = 3;
    masked.fileHeader = false;
    masked.masks = {0x000000FF, 0, 0xFF000000}; // no green bits: green is black
    masked.bits = packWords(3, 2, 32, false, [](int x, int y) {
        Rgb c = gradient(x, y);
        return static_cast<uint32_t>(c[2]) << 24 | c[1] << 8 | c[0];
    });
    f.push_back({"32-bit bit fields", masked, [](int x, int y) {
                     Rgb g = gradient(x, y);
                     return Rgb{g[0], 0, g[2]};
                 }});

    // Run-length 8: runs, an odd absolute run (padded), a delta, end of line, end of bitmap.
    // clang-format off
    Layout r8 = rle8({3, 9,  0, 3, 10, 11, 12, 0,  0, 0,
                      0, 3, 20, 21, 22, 0,  0, 2, 2, 0,  1, 12,  0, 0,
                      0, 2,  5, 0,  1, 13,  0, 1}, 6, 3);
    // clang-format on
    r8.sizeImage = static_cast<uint32_t>(r8.bits.size());
    f.push_back(
        {"run-length 8", r8,
         fromRows(pal,
                  {{9, 9, 9, 10, 11, 12}, {20, 21, 22, -1, -1, 12}, {-1, -1, -1, -1, -1, 13}})});
    // Run-length 4, top-down: alternating nibbles in runs and absolute runs.
    Layout r4 = rle8({5, 0xAB, 0, 3, 0x12, 0x30, 0, 0, 2, 0x45, 0, 1}, 8, -2);
    r4.bitCount = 4;
    r4.compression = 2;
    r4.palette = palette(16);
    f.push_back(
        {"run-length 4", r4,
         fromRows(palette(16), {{4, 5, -1, -1, -1, -1, -1, -1}, {10, 11, 10, 11, 10, 1, 2, 3}})});
    // Long runs (split at 255) and short varied ones.
    Indices wide = [](int x, int y) {
        return static_cast<uint8_t>(x < 280 ? y % 5 : (x / 7) * 3 + y % 5);
    };
    Layout big = rle8(encodeRle8(300, 20, wide), 300, 20);
    f.push_back({"run-length 8, 300 wide", big, fromPalette(pal, wide)});
    return f;
}

class Image : public ::testing::Test {
  protected:
    void SetUp() override { headless::clearMessageBoxes(); }
    void expectRefused(const std::vector<uint8_t>& bytes, const std::string& message,
                       const std::string& what) {
        EXPECT_EQ(decode(bytes), nullptr) << what;
        EXPECT_EQ(boxTexts(), std::vector<std::string>{message}) << what;
    }
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
    ASSERT_TRUE(testdata::writeFile(dir.file("good.bmp"), gradientFile(4, 3)));
    ImagePtr good(LoadBMP(dir.file("good.bmp").c_str()));
    EXPECT_TRUE(samePicture(good.get(), 4, 3, gradient));
    std::string missing = dir.file("nothere.bmp");
    EXPECT_EQ(LoadBMP(missing.c_str()), nullptr);
    EXPECT_EQ(LoadBMP(nullptr), nullptr);
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(LoadDIBImage(missing.c_str()), nullptr);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Failed to open DIB file " + missing + ".\n"});
    ASSERT_TRUE(testdata::writeFile(dir.file("empty.bmp"), {}));
    EXPECT_EQ(LoadBMP(dir.file("empty.bmp").c_str()), nullptr);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{Unknown});
}

TEST_F(Image, DamagedFilesAreRefusedWithOneBox) {
    struct Damage {
        std::string what;
        std::function<void(Layout&)> change;
        const char* message;
    };
    const Damage damages[] = {
        {"108-byte header", [](Layout& s) { s.headerSize = 108; }, Unknown},
        {"41-byte header", [](Layout& s) { s.headerSize = 41; }, Unknown},
        {"2 bits", [](Layout& s) { s.bitCount = 2; }, Conversion},
        {"24 bits run-length", [](Layout& s) { s.compression = 1; }, Conversion},
        {"compression 4", [](Layout& s) { s.compression = 4; }, Conversion},
        {"width 0", [](Layout& s) { s.width = 0; }, Conversion},
        {"width -1", [](Layout& s) { s.width = -1; }, Conversion},
        {"height 0", [](Layout& s) { s.height = 0; }, Conversion},
        {"height INT32_MIN", [](Layout& s) { s.height = INT32_MIN; }, Conversion},
        {"overflowing size", [](Layout& s) { s.width = s.height = INT32_MAX; }, OutOfMemory},
        {"over the pixel limit", [](Layout& s) { s.width = 1 << 16, s.height = 257; }, OutOfMemory},
        {"pixels missing", [](Layout& s) { s.width = s.height = 1 << 12; }, Conversion},
        {"one byte short", [](Layout& s) { s.bits.pop_back(); }, Conversion},
        {"offset past the end", [](Layout& s) { s.bitsOffsetOverride = 0x7FFFFFF0; }, Conversion},
        {"colour table past the end",
         [](Layout& s) {
             s = indexed(
                 2, 1, 8, false, [](int, int) { return uint8_t(0); }, 2);
             s.clrUsed = 0x40000000;
         },
         Conversion},
        {"masks past the end",
         [](Layout& s) {
             s = Layout();
             s.bitCount = 32;
             s.compression = 3;
             s.fileHeader = false;
         },
         Conversion},
        {"run past the row",
         [](Layout& s) {
             s = rle8({5, 1, 0, 1});
         },
         Conversion},
        {"absolute run past the row",
         [](Layout& s) {
             s = rle8({2, 1, 0, 3, 1, 2, 3, 0, 0, 1});
         },
         Conversion},
        {"delta past the last row",
         [](Layout& s) {
             s = rle8({0, 2, 0, 3, 0, 1});
         },
         Conversion},
        {"delta past the row end",
         [](Layout& s) {
             s = rle8({0, 2, 5, 0, 0, 1});
         },
         Conversion},
        {"run after the last row",
         [](Layout& s) {
             s = rle8({1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1});
         },
         Conversion},
        {"no end of bitmap",
         [](Layout& s) {
             s = rle8({2, 1, 0, 0});
         },
         Conversion},
        {"codes cut inside an absolute run",
         [](Layout& s) {
             s = rle8({0, 4, 1, 2, 3});
         },
         Conversion},
        {"end code beyond the image size",
         [](Layout& s) {
             s = rle8({2, 1, 0, 1});
             s.sizeImage = 2;
         },
         Conversion},
    };
    for (const Damage& d : damages) {
        Layout s = of24(4, 3);
        d.change(s);
        expectRefused(build(s), d.message, d.what);
    }
    expectRefused({}, Unknown, "empty");
    expectRefused({'B', 'M', 0, 0}, Unknown, "signature only");
}

TEST_F(Image, EveryTruncationOfEveryFormIsHandled) {
    // Cut anywhere, a file either still decodes (the cut fell in unused bytes) or is refused with
    // one box; the sanitizer build checks that no read goes past the end.
    for (const Form& f : forms()) {
        std::vector<uint8_t> full = build(f.layout);
        if (full.size() > 400)
            continue;
        for (size_t n = 0; n < full.size(); ++n) {
            std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(n));
            ImagePtr image = decode(cut);
            EXPECT_EQ(boxTexts().size(), image ? 0u : 1u) << f.what << " cut at " << n;
        }
    }
}
