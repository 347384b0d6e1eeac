// Bitmap failures: missing files, refused headers and forms, damaged dimensions, tables, pixel
// data and run-length codes all give null with one "Error" box, and never read out of bounds.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "render/image.h"
#include "rendertestsupport.h"

using namespace bmptest;
using rendertest::Decode;
using rendertest::ErrorBoxes;
using rendertest::ImagePtr;
using rendertest::ScratchDir;

namespace {

const char* const Unknown = "Unknown DIB file format.";
const char* const Conversion = "Image file conversion error.";
const char* const OutOfMemory = "Out of memory.";

class ImageErrors : public ::testing::Test {
  protected:
    void SetUp() override { headless::clearMessageBoxes(); }

    // Decoding gives null and exactly the one message box named.
    void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& message) {
        headless::clearMessageBoxes();
        ImagePtr image = Decode(bytes);
        EXPECT_EQ(image, nullptr);
        EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{message});
    }
};

BmpLayout Valid24() {
    BmpLayout s;
    s.width = 4;
    s.height = 3;
    s.bits = Pack24(4, 3, false, Gradient);
    return s;
}

BmpLayout Rle8(std::vector<uint8_t> codes, int width = 4, int height = 2) {
    BmpLayout s;
    s.width = width;
    s.height = height;
    s.bitCount = 8;
    s.compression = 1;
    s.palette = TestPalette(256);
    s.bits = std::move(codes);
    return s;
}

} // namespace

TEST_F(ImageErrors, MissingFilesAreSilentThroughLoadBMPButReportedByLoadDIBImage) {
    ScratchDir dir;
    std::string missing = dir.file("nothere.bmp");
    EXPECT_EQ(LoadBMP(missing.c_str()), nullptr);
    EXPECT_EQ(LoadBMP(nullptr), nullptr);
    EXPECT_EQ(LoadBMP(dir.path().c_str()), nullptr); // a folder is not a readable file
    EXPECT_TRUE(headless::messageBoxes().empty());

    EXPECT_EQ(LoadDIBImage(missing.c_str()), nullptr);
    EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"Failed to open DIB file " + missing + ".\n"});
}

TEST_F(ImageErrors, LoadBMPReadsAnExistingFileAndReportsADamagedOne) {
    ScratchDir dir;
    ASSERT_TRUE(WriteFile(dir.file("good.bmp"), BuildBmp(Valid24())));
    ImagePtr good(LoadBMP(dir.file("good.bmp").c_str()));
    EXPECT_TRUE(rendertest::SamePicture(good.get(), 4, 3, Gradient));
    EXPECT_TRUE(headless::messageBoxes().empty());

    ASSERT_TRUE(WriteFile(dir.file("empty.bmp"), {}));
    EXPECT_EQ(LoadBMP(dir.file("empty.bmp").c_str()), nullptr);
    EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{Unknown});
}

TEST_F(ImageErrors, HeadersOtherThanCoreAndInfoAreUnknown) {
    for (uint32_t size : {108u, 124u, 64u, 0u, 41u}) {
        BmpLayout s = Valid24();
        s.headerSize = size;
        if (size == 0) {
            // A header-size field of 0 (the builder's 0 means "default", so patch the bytes).
            std::vector<uint8_t> bytes = BuildBmp(s);
            bytes[14] = bytes[15] = bytes[16] = bytes[17] = 0;
            ExpectRefused(bytes, Unknown);
        } else {
            ExpectRefused(BuildBmp(s), Unknown);
        }
    }
    // Too short to hold a header at all, with and without the signature.
    ExpectRefused({}, Unknown);
    ExpectRefused({'B', 'M', 0, 0}, Unknown);
    ExpectRefused({40, 0, 0}, Unknown);
    // A 40-byte header cut short.
    std::vector<uint8_t> cut = BuildBmp(Valid24());
    cut.resize(14 + 30);
    ExpectRefused(cut, Unknown);
}

TEST_F(ImageErrors, UnsupportedDepthsAndCompressionsAreConversionErrors) {
    struct Form {
        uint16_t bits;
        uint32_t compression;
    };
    for (Form f : {Form{2, 0}, Form{0, 0}, Form{48, 0}, Form{24, 4}, Form{24, 5}, Form{8, 2},
                   Form{4, 1}, Form{24, 1}, Form{24, 3}, Form{8, 3}, Form{16, 7}}) {
        BmpLayout s = Valid24();
        s.bitCount = f.bits;
        s.compression = f.compression;
        s.masks = f.compression == 3 ? std::vector<uint32_t>{1, 2, 4} : std::vector<uint32_t>{};
        ExpectRefused(BuildBmp(s), Conversion);
    }
}

TEST_F(ImageErrors, BadDimensionsAreRefused) {
    for (int32_t w : {0, -1, INT32_MIN}) {
        BmpLayout s = Valid24();
        s.width = w;
        ExpectRefused(BuildBmp(s), Conversion);
    }
    for (int32_t h : {0, INT32_MIN}) {
        BmpLayout s = Valid24();
        s.height = h;
        ExpectRefused(BuildBmp(s), Conversion);
    }
    // Byte counts that would overflow or ask for an enormous block.
    for (auto wh : {std::pair<int32_t, int32_t>{INT32_MAX, INT32_MAX},
                    {INT32_MAX, -INT32_MAX},
                    {1 << 16, (1 << 8) + 1},
                    {65535, 65535}}) {
        BmpLayout s = Valid24();
        s.width = wh.first;
        s.height = wh.second;
        ExpectRefused(BuildBmp(s), OutOfMemory);
    }
    // Just at the limit the size is fine, but the file does not hold that many bytes.
    BmpLayout s = Valid24();
    s.width = 1 << 12;
    s.height = 1 << 12;
    ExpectRefused(BuildBmp(s), Conversion);
}

TEST_F(ImageErrors, PixelDataCutShortIsAConversionError) {
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        BmpLayout s;
        s.width = 5;
        s.height = -3;
        s.bitCount = bits;
        if (bits <= 8)
            s.palette = TestPalette(1 << bits);
        s.bits.assign(Stride(5, bits) * 3, 0x5A);
        ImagePtr whole = Decode(BuildBmp(s));
        EXPECT_NE(whole, nullptr) << bits << " bits";
        s.bits.pop_back(); // one byte short, even though it is only row padding for some depths
        ExpectRefused(BuildBmp(s), Conversion);
    }
}

TEST_F(ImageErrors, ColourTablesMasksAndOffsetsPastTheEndAreConversionErrors) {
    BmpLayout table;
    table.width = 2;
    table.height = 1;
    table.bitCount = 8;
    table.clrUsed = 0x40000000; // a table far larger than the file
    table.palette = TestPalette(2);
    table.bits = {0, 1, 0, 0};
    ExpectRefused(BuildBmp(table), Conversion);
    table.clrUsed = 0xFFFFFFFF;
    ExpectRefused(BuildBmp(table), Conversion);

    BmpLayout masks;
    masks.width = 1;
    masks.height = 1;
    masks.bitCount = 32;
    masks.compression = 3;
    masks.fileHeader = false;
    std::vector<uint8_t> bytes = BuildBmp(masks); // no masks written: the header ends the file
    ExpectRefused(bytes, Conversion);

    BmpLayout offset = Valid24();
    offset.bitsOffsetOverride = 0x7FFFFFF0;
    ExpectRefused(BuildBmp(offset), Conversion);
    offset.bitsOffsetOverride = 0xFFFFFFFF;
    ExpectRefused(BuildBmp(offset), Conversion);
}

TEST_F(ImageErrors, RunLengthCodesPastRowsImageOrDataAreRefused) {
    // A run one pixel too long for a 4-pixel row.
    ExpectRefused(BuildBmp(Rle8({5, 1, 0, 1})), Conversion);
    // An absolute run past the row.
    ExpectRefused(BuildBmp(Rle8({2, 1, 0, 3, 1, 2, 3, 0, 0, 1})), Conversion);
    // A delta beyond the last row, and one beyond the row's end.
    ExpectRefused(BuildBmp(Rle8({0, 2, 0, 3, 0, 1})), Conversion);
    ExpectRefused(BuildBmp(Rle8({0, 2, 5, 0, 0, 1})), Conversion);
    // Writing after the last row's end of line.
    ExpectRefused(BuildBmp(Rle8({1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1})), Conversion);
    // Data that stops without an end-of-bitmap code, mid-code, or inside an absolute run.
    ExpectRefused(BuildBmp(Rle8({2, 1, 0, 0})), Conversion);
    ExpectRefused(BuildBmp(Rle8({2, 1, 0})), Conversion);
    ExpectRefused(BuildBmp(Rle8({0, 4, 1, 2, 3})), Conversion);
    ExpectRefused(BuildBmp(Rle8({0, 2})), Conversion);
    // The image-size field bounds the codes: the end-of-bitmap code lies beyond it.
    BmpLayout bounded = Rle8({2, 1, 0, 1});
    bounded.sizeImage = 2;
    ExpectRefused(BuildBmp(bounded), Conversion);
    // Four-bit runs are held to the same rules.
    BmpLayout four = Rle8({9, 0x12, 0, 1}, 8, 1);
    four.bitCount = 4;
    four.compression = 2;
    four.palette = TestPalette(16);
    ExpectRefused(BuildBmp(four), Conversion);
    four.bits = {8, 0x12, 0, 1};
    ImagePtr ok = Decode(BuildBmp(four));
    EXPECT_NE(ok, nullptr);
}

TEST_F(ImageErrors, EveryTruncationOfEveryFormIsHandled) {
    // Cutting a valid file anywhere either still decodes (the cut fell in unused bytes) or is
    // refused with exactly one box; the sanitizer build checks no read goes past the end.
    std::vector<BmpLayout> forms;
    forms.push_back(Valid24());
    BmpLayout core = Valid24();
    core.coreHeader = true;
    forms.push_back(core);
    BmpLayout pal;
    pal.width = 3;
    pal.height = 2;
    pal.bitCount = 4;
    pal.palette = TestPalette(16);
    pal.bits = PackIndexed(3, 2, 4, false, [](int x, int) { return static_cast<uint8_t>(x); });
    forms.push_back(pal);
    forms.push_back(Rle8({2, 1, 0, 2, 3, 4, 0, 0, 0, 2, 1, 1, 1, 7, 0, 1}));
    BmpLayout masked;
    masked.width = 2;
    masked.height = 2;
    masked.bitCount = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.bits.assign(8, 0x33);
    forms.push_back(masked);
    for (const BmpLayout& form : forms) {
        for (bool fileHeader : {true, false}) {
            BmpLayout s = form;
            s.fileHeader = fileHeader;
            std::vector<uint8_t> bytes = BuildBmp(s);
            for (size_t n = 0; n < bytes.size(); ++n) {
                // Copy into an exact-size block so any overread is caught.
                std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
                headless::clearMessageBoxes();
                ImagePtr image(DecodeDIBImage(cut.empty() ? nullptr : cut.data(), cut.size()));
                EXPECT_EQ(headless::messageBoxes().size(), image ? 0u : 1u);
            }
        }
    }
}
