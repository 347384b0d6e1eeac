// Generated data besides models: textures, music, the game font; generators repeat their bytes.
#include "assetgen/music/song.h"
#include "assetgen/textures/catalogue.h"
#include "font/fontfile.h"
#include "platform/headless.h"
#include "render/image.h"
#include "support/datafolder.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <cstdlib>
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

// Non-zero winding number of the glyph's contours around (x, y).
bool insideOutline(const FontFileSymbol& s, double x, double y) {
    int winding = 0, first = 0;
    for (uint8_t end : s.contourEnd) {
        for (int i = first; i <= end; ++i) {
            int j = i == end ? first : i + 1;
            double x0 = s.vertices[2 * i], y0 = s.vertices[2 * i + 1];
            double x1 = s.vertices[2 * j], y1 = s.vertices[2 * j + 1];
            double side = (x1 - x0) * (y - y0) - (x - x0) * (y1 - y0);
            winding += (y0 <= y && y1 > y && side > 0) - (y0 > y && y1 <= y && side < 0);
        }
        first = end + 1;
    }
    return winding != 0;
}

bool insideTriangles(const FontFileSymbol& s, double x, double y) {
    for (size_t t = 0; t < s.triangles.size(); t += 3) {
        bool neg = false, pos = false;
        for (int k = 0; k < 3; ++k) {
            const float* a = &s.vertices[2 * s.triangles[t + k]];
            const float* b = &s.vertices[2 * s.triangles[t + (k + 1) % 3]];
            double d = (b[0] - a[0]) * (y - a[1]) - (x - a[0]) * (b[1] - a[1]);
            neg |= d<0, pos |= d> 0;
        }
        if (!(neg && pos))
            return true;
    }
    return false;
}

} // namespace

TEST(Textures, WriterStoresRowsBottomUpAndEveryFileIsAPowerOfTwo) {
    tex::Image img(3, 2);
    img.at(0, 0) = {1, 0, 0}; // top left red
    img.at(2, 0) = {0, 0, 1}; // top right blue
    img.at(1, 1) = {0, 1, 0}; // bottom middle green
    std::vector<uint8_t> bytes = tex::encodeBmp(img);
    EXPECT_EQ(bytes.size(), 54u + 2 * 12) << "rows padded to four bytes";
    ImagePtr rec(DecodeDIBImage(bytes.data(), bytes.size()), FreeImageRec);
    ASSERT_TRUE(rec);
    ASSERT_EQ(rec->width * rec->height, 6);
    EXPECT_EQ(rec->data[9], 255);     // red top left, red channel first
    EXPECT_EQ(rec->data[9 + 8], 255); // blue top right
    EXPECT_EQ(rec->data[3 + 1], 255); // green bottom middle
    EXPECT_EQ(rec->data[3 + 0], 0);
    EXPECT_TRUE(headless::messageBoxes().empty());
    for (const tex::TextureDef& def : tex::textureCatalogue()) {
        ImagePtr t = load(def.file);
        ASSERT_TRUE(t) << def.file;
        EXPECT_GE(t->width, 64) << def.file;
        EXPECT_EQ(t->width & (t->width - 1), 0) << def.file;
        EXPECT_EQ(t->height & (t->height - 1), 0) << def.file;
    }
}

TEST(Textures, SplashTextBandIsDarkAndCalmAndStarIsBrightOnBlack) {
    ImagePtr img = load("BG.bmp");
    ASSERT_TRUE(img);
    // The screens print between about 44% and 56% of the picture's height; yellow text needs a
    // dark, even ground there, under a lit sky.
    double sum = 0, sumSq = 0;
    int n = 0;
    for (int row = int(img->height * 0.40); row < int(img->height * 0.60); ++row)
        for (int x = 0; x < img->width; ++x, ++n) {
            float l = luminance(*img, x, row);
            sum += l;
            sumSq += l * l;
        }
    EXPECT_LT(sum / n, 0.2);
    EXPECT_LT(std::sqrt(sumSq / n - (sum / n) * (sum / n)), 0.05);
    EXPECT_GT(luminance(*img, img->width / 2, img->height * 3 / 4) +
                  luminance(*img, 0, img->height * 3 / 4),
              0.4f);
    ImagePtr star = load("Star.bmp");
    ASSERT_TRUE(star);
    EXPECT_GT(luminance(*star, star->width / 2, star->height / 2), 0.9f);
    for (int i = 0; i < star->width; ++i) {
        EXPECT_LT(luminance(*star, i, 0) + luminance(*star, 0, i), 2.0f / 255);
        EXPECT_LT(luminance(*star, i, star->height - 1) + luminance(*star, star->width - 1, i),
                  2.0f / 255);
    }
}

TEST(Music, TracksDecodeToTheirLengthInStereoAndAreNeverSilentForLong) {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0);
    Mix_Init(MIX_INIT_MP3);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
    const music::SongPlan plans[2] = {music::stadiumAnthem(), music::skyChase()};
    for (int i = 0; i < 2; ++i) {
        Mix_Chunk* chunk =
            Mix_LoadWAV(testdata::dataPath("Music/music" + std::to_string(i) + ".mp3").c_str());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const int16_t* pcm = reinterpret_cast<const int16_t*>(chunk->abuf);
        const size_t frames = chunk->alen / 4, window = 44100 * 4;
        // The encoder pads by well under a tenth of a second.
        EXPECT_NEAR(double(frames) / 44100, music::songLength(plans[i]), 0.15) << i;
        double diff = 0;
        for (size_t start = 0; start + window <= frames - 44100 * 3; start += window) {
            double sq = 0;
            for (size_t k = start * 2; k < (start + window) * 2; ++k) {
                sq += double(pcm[k]) * pcm[k];
                diff += std::abs(pcm[k] - pcm[k ^ 1]);
            }
            EXPECT_GT(std::sqrt(sq / (window * 2)) / 32768.0, 0.03)
                << i << ": quiet at " << start / 44100 << " s";
        }
        EXPECT_GT(diff / frames / 32768.0, 0.01) << i << ": left and right are the same";
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
}

TEST(GameFont, CoversPrintableCodesAndTrianglesFillExactlyTheOutlines) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testdata::readFile(testdata::dataPath("times_new1.glf"), bytes));
    FontFileData font;
    ASSERT_EQ(parseFontFile(bytes.data(), bytes.size(), font), FONT_FILE_OK);
    for (int c = 0; c < 256; ++c) {
        const bool printable = (c > 32 && c < 127) || c > 160;
        ASSERT_EQ(font.symbols[c] != nullptr, printable) << c << ": the layout spaces by itself";
        const FontFileSymbol* s = font.symbols[c].get();
        if (!s)
            continue;
        EXPECT_NEAR(s->minX, -s->maxX, 1e-4) << c << " is not centred";
        // Sample a grid over the glyph, offset so samples rarely land on an edge.
        int inked = 0, mismatched = 0;
        for (int i = 0; i < 48; ++i)
            for (int j = 0; j < 48; ++j) {
                double x = s->minX + (s->maxX - s->minX) * (i + 0.5137) / 48;
                double y = s->minY + (s->maxY - s->minY) * (j + 0.4729) / 48;
                bool outline = insideOutline(*s, x, y);
                inked += outline;
                mismatched += outline != insideTriangles(*s, x, y);
            }
        EXPECT_GT(inked, 48 * 48 / 20) << c;
        EXPECT_LE(mismatched, 48 * 48 / 200) << c;
    }
}

// And the data as it was looked at and listened to: one digest over every generated file, so a
// changed generator shows here (record the new digest once the new data has been reviewed).
TEST(Generators, WriteTheSameBytesOnEveryRun) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(testdata::dataDir()))
        if (e.is_regular_file())
            files.push_back(std::filesystem::relative(e.path(), testdata::dataDir()).string());
    std::sort(files.begin(), files.end());
    uint64_t digest = 0xcbf29ce484222325ULL;
    for (const std::string& name : files) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(testdata::readFile(testdata::dataPath(name), bytes)) << name;
        bytes.insert(bytes.begin(), name.begin(), name.end());
        for (uint8_t b : bytes)
            digest = (digest ^ b) * 0x100000001b3ULL;
    }
    EXPECT_EQ(files.size(), 28u);
    EXPECT_EQ(digest, 0x4aed0239444201c3ULL) << digest;
    const std::pair<const char*, std::vector<std::string>> generators[] = {
        {TEXGEN_PATH, {"BG.bmp", "Star.bmp", "grass.bmp", "sled.bmp"}},
        {MODELGEN_PATH, {"mesh/stadium.3ds", "mesh/goal.3ds", "mesh/player.3ds"}},
        {MUSICGEN_PATH, {"Music/music0.mp3", "Music/music1.mp3"}},
        {FONTGEN_PATH, {"times_new1.glf"}},
    };
    for (const auto& [program, outputs] : generators) {
        testdata::ScratchDir dir;
        std::string cmd = std::string("'") + program + "' '" + dir.path() + "' > /dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        for (const std::string& out : outputs) {
            std::vector<uint8_t> again, built;
            ASSERT_TRUE(testdata::readFile(testdata::dataPath(out), built)) << out;
            ASSERT_TRUE(testdata::readFile(dir.file(out), again)) << out;
            EXPECT_TRUE(!built.empty() && again == built)
                << out << ": a second run wrote different bytes";
        }
    }
}
