// Decoding of every accepted bitmap form, checked pixel by pixel against the picture encoded.
#include <gtest/gtest.h>

#include <cstring>

#include "render/image.h"
#include "rendertestsupport.h"

using namespace bmptest;
using rendertest::Decode;
using rendertest::ImagePtr;
using rendertest::SamePicture;

namespace {

class ImageForms : public ::testing::Test {
  protected:
    void SetUp() override { headless::clearMessageBoxes(); }
    void TearDown() override { EXPECT_TRUE(headless::messageBoxes().empty()); }
};

BmpLayout Spec24(int w, int h, bool topDown, bool fileHeader = true) {
    BmpLayout s;
    s.width = w;
    s.height = topDown ? -h : h;
    s.bitCount = 24;
    s.fileHeader = fileHeader;
    s.bits = Pack24(w, h, topDown, Gradient);
    return s;
}

Picture FromPalette(const std::vector<Rgb>& palette, const Indices& index) {
    return [palette, index](int x, int y) {
        uint8_t i = index(x, y);
        return i < palette.size() ? palette[i] : Rgb{0, 0, 0};
    };
}

// Expected picture of a run-length test: palette indices per row (bottom row first), -1 black.
Picture FromRows(const std::vector<Rgb>& palette, const std::vector<std::vector<int>>& rows) {
    return [palette, rows](int x, int y) {
        int i = rows[y][x];
        return i < 0 ? Rgb{0, 0, 0} : palette[i];
    };
}

} // namespace

TEST_F(ImageForms, TwentyFourBitRowsComeOutTightlyPackedBottomRowFirst) {
    // Three pixels wide: each stored row has 9 pixel bytes and 3 fill bytes.
    BmpLayout s = Spec24(3, 4, false);
    ASSERT_EQ(s.bits.size(), 12u * 4);
    ImagePtr image = Decode(BuildBmp(s));
    ASSERT_TRUE(SamePicture(image.get(), 3, 4, Gradient));
    // The first three bytes are the bottom-left pixel, red first.
    Rgb first = Gradient(0, 0);
    EXPECT_EQ(image->data[0], first[0]);
    EXPECT_EQ(image->data[2], first[2]);
    // Row 1 starts right after 9 bytes, nothing between rows.
    EXPECT_EQ(image->data[9], Gradient(0, 1)[0]);
}

TEST_F(ImageForms, TopDownRowsAreTurnedBottomRowFirstWithPositiveHeight) {
    for (int w : {1, 2, 3, 4, 5}) {
        ImagePtr image = Decode(BuildBmp(Spec24(w, 3, true)));
        EXPECT_TRUE(SamePicture(image.get(), w, 3, Gradient)) << "width " << w;
    }
}

TEST_F(ImageForms, BareBitmapWithoutFileHeaderDecodesLikeAFile) {
    ImagePtr bare = Decode(BuildBmp(Spec24(5, 3, false, false)));
    EXPECT_TRUE(SamePicture(bare.get(), 5, 3, Gradient));
    BmpLayout core = Spec24(5, 3, false, false);
    core.coreHeader = true;
    ImagePtr coreBare = Decode(BuildBmp(core));
    EXPECT_TRUE(SamePicture(coreBare.get(), 5, 3, Gradient));
}

TEST_F(ImageForms, FileHeaderOffsetIsWherePixelsStart) {
    // Eight junk bytes between the header and the bits, skipped by the offset field.
    BmpLayout s = Spec24(2, 2, false);
    std::vector<uint8_t> bits = s.bits;
    s.bits.assign(8, 0xEE);
    s.bits.insert(s.bits.end(), bits.begin(), bits.end());
    s.bitsOffsetOverride = 14 + 40 + 8;
    ImagePtr image = Decode(BuildBmp(s));
    EXPECT_TRUE(SamePicture(image.get(), 2, 2, Gradient));
}

TEST_F(ImageForms, EightBitWithColoursUsedZeroReadsTheWhole256EntryTable) {
    std::vector<Rgb> palette = TestPalette(256);
    Indices index = [](int x, int y) { return static_cast<uint8_t>(x * 31 + y * 97 + 200); };
    for (bool topDown : {false, true}) {
        BmpLayout s;
        s.width = 7;
        s.height = topDown ? -3 : 3;
        s.bitCount = 8;
        s.palette = palette;
        s.bits = PackIndexed(7, 3, 8, topDown, index);
        ImagePtr image = Decode(BuildBmp(s));
        EXPECT_TRUE(SamePicture(image.get(), 7, 3, FromPalette(palette, index)));
    }
}

TEST_F(ImageForms, ShortColourTableSetsWherePixelsStartAndIndicesPastItAreBlack) {
    // No file header: the bits follow a 4-entry table; indices 4..255 have no colour.
    std::vector<Rgb> palette = TestPalette(4);
    Indices index = [](int x, int y) { return static_cast<uint8_t>((x + y * 3) % 6); };
    BmpLayout s;
    s.width = 6;
    s.height = 2;
    s.bitCount = 8;
    s.fileHeader = false;
    s.clrUsed = 4;
    s.palette = palette;
    s.bits = PackIndexed(6, 2, 8, false, index);
    ImagePtr image = Decode(BuildBmp(s));
    EXPECT_TRUE(SamePicture(image.get(), 6, 2, FromPalette(palette, index)));
}

TEST_F(ImageForms, OneAndFourBitPixelsOfOddWidths) {
    for (int bits : {1, 4}) {
        std::vector<Rgb> palette = TestPalette(1 << bits);
        Indices index = [bits](int x, int y) {
            return static_cast<uint8_t>((x * 3 + y * 5 + x * y) % (1 << bits));
        };
        for (int w : {1, 5, 9, 17, 33}) {
            BmpLayout s;
            s.width = w;
            s.height = 3;
            s.bitCount = static_cast<uint16_t>(bits);
            s.palette = palette;
            s.bits = PackIndexed(w, 3, bits, false, index);
            ImagePtr image = Decode(BuildBmp(s));
            EXPECT_TRUE(SamePicture(image.get(), w, 3, FromPalette(palette, index)))
                << bits << " bits, width " << w;
        }
    }
}

TEST_F(ImageForms, CoreHeaderLoadsLikeTheInfoHeader) {
    std::vector<Rgb> palette = TestPalette(256);
    Indices index = [](int x, int y) { return static_cast<uint8_t>(x * 13 + y * 29); };
    for (int bits : {1, 4, 8, 24}) {
        BmpLayout info;
        info.width = 5;
        info.height = 4;
        info.bitCount = static_cast<uint16_t>(bits);
        if (bits <= 8) {
            info.palette.assign(palette.begin(), palette.begin() + (1 << bits));
            info.bits = PackIndexed(5, 4, bits, false, index);
        } else {
            info.bits = Pack24(5, 4, false, Gradient);
        }
        BmpLayout core = info;
        core.coreHeader = true;
        ImagePtr a = Decode(BuildBmp(info));
        ImagePtr b = Decode(BuildBmp(core));
        ASSERT_TRUE(a && b) << bits << " bits";
        EXPECT_EQ(b->width, 5);
        EXPECT_EQ(b->height, 4);
        EXPECT_EQ(0, std::memcmp(a->data, b->data, 5 * 4 * 3)) << bits << " bits";
    }
}

TEST_F(ImageForms, SixteenBitDefaultsToFiveFiveFiveAndBitFieldsUseTheirMasks) {
    auto r5 = [](int x, int y) { return static_cast<uint32_t>((x * 7 + y) % 32); };
    auto g5 = [](int x, int y) { return static_cast<uint32_t>((x + y * 11) % 32); };
    auto b5 = [](int x, int y) { return static_cast<uint32_t>((x * y + 3) % 32); };
    auto g6 = [](int x, int y) { return static_cast<uint32_t>((x * 9 + y * 5) % 64); };
    auto scale = [](uint32_t v, uint32_t max) {
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    };

    BmpLayout s555;
    s555.width = 5;
    s555.height = 3;
    s555.bitCount = 16;
    s555.bits = PackWords(5, 3, 16, false, [&](int x, int y) {
        return 0x8000 | r5(x, y) << 10 | g5(x, y) << 5 | b5(x, y);
    });
    ImagePtr a = Decode(BuildBmp(s555));
    EXPECT_TRUE(SamePicture(a.get(), 5, 3, [&](int x, int y) {
        return Rgb{scale(r5(x, y), 31), scale(g5(x, y), 31), scale(b5(x, y), 31)};
    }));

    BmpLayout s565 = s555;
    s565.compression = 3;
    s565.masks = {0xF800, 0x07E0, 0x001F};
    s565.height = -3;
    s565.bits = PackWords(5, 3, 16, true,
                          [&](int x, int y) { return r5(x, y) << 11 | g6(x, y) << 5 | b5(x, y); });
    ImagePtr b = Decode(BuildBmp(s565));
    EXPECT_TRUE(SamePicture(b.get(), 5, 3, [&](int x, int y) {
        return Rgb{scale(r5(x, y), 31), scale(g6(x, y), 63), scale(b5(x, y), 31)};
    }));
}

TEST_F(ImageForms, ThirtyTwoBitDefaultsToXrgbAndBitFieldsUseTheirMasks) {
    BmpLayout plain;
    plain.width = 3;
    plain.height = 2;
    plain.bitCount = 32;
    plain.bits = PackWords(3, 2, 32, false, [](int x, int y) {
        Rgb c = Gradient(x, y);
        return 0xAB000000u | c[0] << 16 | c[1] << 8 | c[2];
    });
    ImagePtr a = Decode(BuildBmp(plain));
    EXPECT_TRUE(SamePicture(a.get(), 3, 2, Gradient));

    // Red in the low byte, blue in the high byte; no file header, so the bits begin after the
    // masks.
    BmpLayout masked = plain;
    masked.compression = 3;
    masked.fileHeader = false;
    masked.masks = {0x000000FF, 0x0000FF00, 0xFF000000};
    masked.bits = PackWords(3, 2, 32, false, [](int x, int y) {
        Rgb c = Gradient(x, y);
        return static_cast<uint32_t>(c[2]) << 24 | c[1] << 8 | c[0];
    });
    ImagePtr b = Decode(BuildBmp(masked));
    EXPECT_TRUE(SamePicture(b.get(), 3, 2, Gradient));

    // A channel without mask bits is black.
    BmpLayout noGreen = masked;
    noGreen.masks = {0x000000FF, 0, 0xFF000000};
    ImagePtr c = Decode(BuildBmp(noGreen));
    EXPECT_TRUE(SamePicture(c.get(), 3, 2, [](int x, int y) {
        Rgb g = Gradient(x, y);
        return Rgb{g[0], 0, g[2]};
    }));
}

TEST_F(ImageForms, RunLengthEightBitRunsAbsoluteRunsDeltasAndEndOfLine) {
    std::vector<Rgb> palette = TestPalette(256);
    // 6 x 3 picture. Row 0: run of 3 x index 9, absolute 3 pixels (10, 11, 12; odd, padded).
    // Row 1: absolute 3 pixels, delta (+2, 0), run 1 x 12. End of line; row 2: delta (+5, 0),
    // run 1 x 13, end of bitmap. (An absolute run has 3 or more pixels: 2 is the delta code.)
    // clang-format off
    std::vector<uint8_t> rle = {3, 9,  0, 3, 10, 11, 12, 0,  0, 0,
                                0, 3, 20, 21, 22, 0,  0, 2, 2, 0,  1, 12,  0, 0,
                                0, 2,  5, 0,  1, 13,  0, 1};
    // clang-format on
    BmpLayout s;
    s.width = 6;
    s.height = 3;
    s.bitCount = 8;
    s.compression = 1;
    s.palette = palette;
    s.bits = rle;
    s.sizeImage = static_cast<uint32_t>(rle.size());
    ImagePtr image = Decode(BuildBmp(s));
    EXPECT_TRUE(SamePicture(
        image.get(), 6, 3,
        FromRows(palette,
                 {{9, 9, 9, 10, 11, 12}, {20, 21, 22, -1, -1, 12}, {-1, -1, -1, -1, -1, 13}})));
}

TEST_F(ImageForms, RunLengthFourBitAlternatesNibbles) {
    std::vector<Rgb> palette = TestPalette(16);
    // Row 0: run of 5 alternating 0xA, 0xB; absolute 3 nibbles 1, 2, 3 (2 bytes, padded even).
    // Row 1 (after end of line): run of 2 x (4, 5); end of bitmap.
    std::vector<uint8_t> rle = {5, 0xAB, 0, 3, 0x12, 0x30, 0, 0, 2, 0x45, 0, 1};
    BmpLayout s;
    s.width = 8;
    s.height = -2; // top-down: the first coded row is the picture's top row
    s.bitCount = 4;
    s.compression = 2;
    s.palette = palette;
    s.bits = rle;
    ImagePtr image = Decode(BuildBmp(s));
    EXPECT_TRUE(SamePicture(
        image.get(), 8, 2,
        FromRows(palette, {{4, 5, -1, -1, -1, -1, -1, -1}, {10, 11, 10, 11, 10, 1, 2, 3}})));
}

TEST_F(ImageForms, RunLengthEncoderRoundTripOfALargerPicture) {
    std::vector<Rgb> palette = TestPalette(256);
    // Long equal runs (longer than 255, so split) then short varied ones.
    Indices index = [](int x, int y) {
        return static_cast<uint8_t>(x < 280 ? y % 5 : (x / 7) * 3 + y % 5);
    };
    BmpLayout s;
    s.width = 300;
    s.height = 20;
    s.bitCount = 8;
    s.compression = 1;
    s.palette = palette;
    s.bits = EncodeRle8(300, 20, index);
    ImagePtr image = Decode(BuildBmp(s));
    EXPECT_TRUE(SamePicture(image.get(), 300, 20, FromPalette(palette, index)));
}
