// The painted textures: the BMP writer's layout, every catalogue file loading through the game's
// image loader, a calm dark text band on the splash, and a sprite bright on black.
#include "assetgen/textures/catalogue.h"
#include "support/datafolder.h"
#include "platform/headless.h"
#include "render/image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace {

using ImagePtr = std::unique_ptr<ImageRec, void (*)(ImageRec*)>;

ImagePtr load(const std::string& name) {
    return ImagePtr(LoadBMP(testdata::dataPath(name).c_str()), FreeImageRec);
}

float luminance(const ImageRec& img, int x, int row) { // row 0 = bottom
    const unsigned char* p = img.data + (size_t(row) * img.width + x) * 3;
    return (0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2]) / 255.0f;
}

} // namespace

TEST(BmpWriter, RowsArePaddedBottomUpAndDecodeToTheSamePixels) {
    tex::Image img(3, 2);
    img.at(0, 0) = {1, 0, 0}; // top left red
    img.at(2, 0) = {0, 0, 1}; // top right blue
    img.at(1, 1) = {0, 1, 0}; // bottom middle green
    std::vector<uint8_t> bytes = tex::encodeBmp(img);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12); // 9 pixel bytes + 3 fill per row
    EXPECT_EQ(bytes[28], 24);
    // First stored row is the bottom one: its middle pixel is green, stored B, G, R.
    EXPECT_EQ(bytes[54 + 3], 0);
    EXPECT_EQ(bytes[54 + 4], 255);
    ImagePtr rec(DecodeDIBImage(bytes.data(), bytes.size()), FreeImageRec);
    ASSERT_TRUE(rec);
    ASSERT_EQ(rec->width, 3);
    ASSERT_EQ(rec->height, 2);
    const unsigned char* top = rec->data + 9;
    EXPECT_EQ(top[0], 255);       // red, red channel first
    EXPECT_EQ(top[8], 255);       // blue at the right
    EXPECT_EQ(rec->data[4], 255); // green bottom middle
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST(Textures, EveryCatalogueFileLoadsAsAPowerOfTwo24BitImage) {
    ASSERT_GE(tex::textureCatalogue().size(), 10u);
    for (const tex::TextureDef& def : tex::textureCatalogue()) {
        SCOPED_TRACE(def.file);
        EXPECT_LE(std::strlen(def.file), 12u);
        FILE* f = std::fopen(testdata::dataPath(def.file).c_str(), "rb");
        ASSERT_NE(f, nullptr);
        unsigned char header[54] = {};
        size_t got = std::fread(header, 1, sizeof header, f);
        std::fclose(f);
        ASSERT_EQ(got, sizeof header);
        EXPECT_EQ(header[28], 24); // bits per pixel
        ImagePtr img = load(def.file);
        ASSERT_TRUE(img);
        EXPECT_GE(img->width, 64);
        EXPECT_EQ(img->width & (img->width - 1), 0);
        EXPECT_EQ(img->height & (img->height - 1), 0);
    }
}

TEST(Textures, SplashKeepsItsTextBandDarkAndCalm) {
    ImagePtr img = load("BG.bmp");
    ASSERT_TRUE(img);
    // The screens print between about 44% and 56% of the picture's height (the middle three
    // quarters are visible); yellow text needs a dark, even ground there.
    double sum = 0, sumSq = 0;
    int n = 0;
    for (int row = int(img->height * 0.40); row < int(img->height * 0.60); ++row)
        for (int x = 0; x < img->width; ++x) {
            float l = luminance(*img, x, row);
            sum += l;
            sumSq += l * l;
            ++n;
        }
    double mean = sum / n, spread = std::sqrt(sumSq / n - mean * mean);
    EXPECT_LT(mean, 0.2);
    EXPECT_LT(spread, 0.05);
    // The top shows a lit sky: the picture as a whole is not just dark.
    float skyMax = 0;
    for (int x = 0; x < img->width; ++x)
        skyMax = std::max(skyMax, luminance(*img, x, img->height * 3 / 4));
    EXPECT_GT(skyMax, 0.4f);
    // The lowest line of the game-over screen sits near the bottom of the visible part.
    double low = 0;
    for (int x = 0; x < img->width; ++x)
        low += luminance(*img, x, int(img->height * 0.19));
    EXPECT_LT(low / img->width, 0.25);
}

TEST(Textures, StarIsBrightInTheMiddleAndBlackAtTheEdges) {
    ImagePtr img = load("Star.bmp");
    ASSERT_TRUE(img);
    EXPECT_GT(luminance(*img, img->width / 2, img->height / 2), 0.9f);
    for (int i = 0; i < img->width; ++i) {
        EXPECT_LT(luminance(*img, i, 0), 2.0f / 255);
        EXPECT_LT(luminance(*img, i, img->height - 1), 2.0f / 255);
        EXPECT_LT(luminance(*img, 0, i), 2.0f / 255);
        EXPECT_LT(luminance(*img, img->width - 1, i), 2.0f / 255);
    }
}
