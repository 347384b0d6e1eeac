// The generated data and its generators: model shapes and models, textures, music, the game font.
#include "assetgen/font/glyphbuild.h"
#include "assetgen/font/tessellate.h"
#include "assetgen/models/modelfile.h"
#include "assetgen/music/song.h"
#include "assetgen/textures/catalogue.h"
#include "font/fontfile.h"
#include "platform/headless.h"
#include "render/image.h"
#include "render/maxmesh.h"
#include "scene3ds/scene3ds.h"
#include "support/datafolder.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <numeric>
#include <set>

namespace {

using P3 = std::array<double, 3>;

// Triangles joined at shared corner positions: closed if each edge meets its reverse as often.
struct Piece {
    bool closed = true;
    double volume = 0;
};

template <class Corner> std::map<int, Piece> pieces(size_t faces, Corner corner) {
    std::map<std::array<long, 3>, int> ids;
    std::vector<std::array<int, 3>> corners(faces);
    for (size_t f = 0; f < faces; ++f)
        for (int k = 0; k < 3; ++k) {
            const P3 p = corner(f, k);
            std::array<long, 3> key{std::lround(p[0] * 1000), std::lround(p[1] * 1000),
                                    std::lround(p[2] * 1000)};
            corners[f][k] = ids.emplace(key, int(ids.size())).first->second;
        }
    std::vector<int> root(ids.size());
    std::iota(root.begin(), root.end(), 0);
    auto find = [&](int i) {
        while (root[i] != i)
            i = root[i] = root[root[i]];
        return i;
    };
    for (const auto& c : corners)
        root[find(c[1])] = root[find(c[2])] = find(c[0]);
    std::map<int, Piece> byRoot;
    std::map<std::pair<int, int>, int> edges;
    for (size_t f = 0; f < faces; ++f) {
        const auto& c = corners[f];
        if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2])
            continue; // no area, no volume
        const P3 a = corner(f, 0), b = corner(f, 1), d = corner(f, 2);
        for (int k = 0, i = 1, j = 2; k < 3; ++k, i = (k + 1) % 3, j = (k + 2) % 3) {
            byRoot[find(c[0])].volume += a[k] * (b[i] * d[j] - b[j] * d[i]) / 6;
            edges[{c[k], c[i]}] += 1;
        }
    }
    for (const auto& [e, n] : edges)
        if (auto back = edges.find({e.second, e.first}); back == edges.end() || back->second != n)
            byRoot[find(e.first)].closed = false;
    return byRoot; // by the piece's root corner
}

const auto p3 = [](const auto& p) { return P3{p.x, p.y, p.z}; };

std::map<int, Piece> pieces(const model::Mesh& m) {
    return pieces(m.tri.size() / 3, [&](size_t f, int k) { return p3(m.pos[m.tri[3 * f + k]]); });
}

std::map<int, Piece> pieces(const MESH& m) {
    return pieces(m.numFaces, [&](size_t f, int k) { return p3(m.verts[m.faces[f].vert[k]].pos); });
}

// Loads from the data folder, as the game does from its working directory.
struct DataModel {
    headless::OffscreenGL gl;
    testdata::WorkingDir cwd{testdata::dataDir()};
    maxMesh m;
    explicit DataModel(const char* file) : m(file) {}
};

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
            const float *a = &s.vertices[2 * i], *b = &s.vertices[2 * (i == end ? first : i + 1)];
            double side = (b[0] - a[0]) * (y - a[1]) - (x - a[0]) * (b[1] - a[1]);
            winding += (a[1] <= y && b[1] > y && side > 0) - (a[1] > y && b[1] <= y && side < 0);
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

TEST(Models, ShapesAreClosedSolidsAndEveryModelLoadsCleanlyWithinItsBudgetFacingOut) {
    using namespace model;
    const Xform transforms[] = {
        Xform(), Xform::rotateY(37).then(Xform::translate({5, -2, 9})),
        Xform::scale({-1, 1, 1}),                            // mirror
        Xform::rotateX(90).then(Xform::scale({2, 0.5f, 1})), // squash; every one keeps volume
    };
    for (size_t i = 0; i < std::size(transforms); ++i) {
        const Xform& x = transforms[i];
        std::vector<Mesh> shapes(4, Mesh("shape", "mat"));
        addBox(shapes[0], x, {1, 2, 3}, {2, 3, 4});
        addCylinder(shapes[1], x, 2.0f, 1.0f, 4.0f, 48, true);
        addEllipsoid(shapes[2], x, {1, 2, 3}, 32, 24);
        addPrism(shapes[3], x, {0, 0, 0, 2, 2, 2, 2, 0}, -1, 2);              // a clockwise outline
        const double volumes[] = {24, 24 * 4.0 * std::sin(2 * M_PI / 48) * 3, // a 48-gon prism
                                  4.0 / 3 * M_PI * 6, 12};
        for (size_t s = 0; s < shapes.size(); ++s) {
            auto parts = pieces(shapes[s]);
            ASSERT_EQ(parts.size(), 1u) << "transform " << i;
            EXPECT_TRUE(parts.begin()->second.closed) << "transform " << i;
            EXPECT_NEAR(parts.begin()->second.volume, volumes[s], volumes[s] * 0.03) << i;
            EXPECT_EQ(shapes[s].pos.size(), shapes[s].u.size());
        }
    }
    const std::tuple<const char*, int, int> models[] = {
        {"mesh/stadium.3ds", 20000, 6}, {"mesh/goal.3ds", 1000, 2}, {"mesh/player.3ds", 2000, 4}};
    for (const auto& [file, maxTriangles, minMaterials] : models) {
        SCOPED_TRACE(file);
        DataModel d(file);
        const maxMesh& m = d.m;
        EXPECT_EQ(ftkerr3ds, 0) << "scene database reported an error";
        ASSERT_GT(m.numMeshes, 0);
        EXPECT_GE(m.numMats, minMaterials);
        std::set<int> used;
        int faces = 0;
        for (int i = 0; i < m.numMeshes; ++i) {
            used.insert(m.meshes[i].matIndex);
            faces += m.meshes[i].numFaces;
            // A double-sided sheet has no volume; a solid turned inside out a negative one.
            for (const auto& [root, p] : pieces(m.meshes[i]))
                EXPECT_TRUE(!p.closed || p.volume > -1e-3)
                    << "a piece of mesh " << i << " faces inward";
        }
        EXPECT_LE(faces, maxTriangles);
        EXPECT_EQ(used.count(-1), 0u) << "a mesh names no material of the file";
        EXPECT_EQ(int(used.size()), m.numMats) << "a material is never used";
        for (int i = 0; i < m.numMats; ++i)
            EXPECT_TRUE(!m.mats[i].hasTexture || m.mats[i].texture != 0) << m.mats[i].texFile;
    }
}

TEST(Models, HoopHugsTheScoringBoxStadiumLeavesPlayClearAndRiderCarriesTheNozzle) {
    DataModel d("mesh/goal.3ds");
    const maxMesh& m = d.m;
    float minY = 1e9f, nearest = 1e9f;
    for (int i = 0; i < m.numMeshes; ++i)
        for (int f = 0; f < m.meshes[i].numFaces; ++f) {
            // Sample each triangle densely: no point may enter the scoring box.
            auto at = [&](int k) { return m.meshes[i].verts[m.meshes[i].faces[f].vert[k]].pos; };
            for (int s = 0; s <= 12; ++s)
                for (int r = 0; r <= 12 - s; ++r) {
                    float u = s / 12.0f, v = r / 12.0f, w = 1 - u - v;
                    float x = at(0).x * w + at(1).x * u + at(2).x * v;
                    float y = at(0).y * w + at(1).y * u + at(2).y * v, dy = std::fabs(y - 23.8f);
                    float z = at(0).z * w + at(1).z * u + at(2).z * v;
                    ASSERT_FALSE(std::fabs(x) < 3.8f && dy < 3.8f && std::fabs(z) < 2.05f)
                        << "hoop surface at " << x << "," << y << "," << z;
                    if (std::fabs(z) < 0.5f && dy < 6 && std::fabs(x) < 6)
                        nearest = std::min(nearest, std::max(std::fabs(x), dy));
                    minY = std::min(minY, y);
                }
        }
    EXPECT_NEAR(minY, 0.0f, 1e-4f) << "the hoop stands on the ground";
    EXPECT_GE(nearest, 3.8f);
    EXPECT_LE(nearest, 4.6f) << "the ring's inner edge is about the box's half-width away";
    DataModel stadium("mesh/stadium.3ds");
    const maxMesh& s = stadium.m;
    for (int i = 0; i < s.numMeshes; ++i)
        for (int f = 0; f < s.meshes[i].numFaces; ++f) {
            // Nothing but flat ground markings inside the volume balls and players use.
            const Vector3f& c = s.meshes[i].faces[f].bounds.center;
            EXPECT_TRUE(std::fabs(c.x) >= 34 || std::fabs(c.z) >= 90 || c.y < 0.2f)
                << s.mats[s.meshes[i].matIndex].name;
        }
    DataModel rider("mesh/player.3ds");
    float nozzle = 1e9f, minZ = 1e9f;
    for (int i = 0; i < rider.m.numMeshes; ++i)
        for (int v = 0; v < rider.m.meshes[i].numVerts; ++v) {
            const Vector3f& p = rider.m.meshes[i].verts[v].pos;
            minZ = std::min(minZ, p.z);
            nozzle = std::min(nozzle, std::hypot(p.x, p.y + 0.35f, p.z - 3.35f));
        }
    EXPECT_LT(minZ, -1.5f) << "the sled's nose points to -z";
    EXPECT_LT(nozzle, 0.05f) << "the trail starts at the nozzle";
}

TEST(Textures, RowsBottomUpEveryFileAPowerOfTwoSplashBandDarkAndStarBrightOnBlack) {
    tex::Image pic(3, 2);
    pic.at(0, 0) = {1, 0, 0}; // top left red
    pic.at(2, 0) = {0, 0, 1}; // top right blue
    pic.at(1, 1) = {0, 1, 0}; // bottom middle green
    std::vector<uint8_t> bytes = tex::encodeBmp(pic);
    EXPECT_EQ(bytes.size(), 54u + 2 * 12) << "rows padded to four bytes";
    ImagePtr rec(DecodeDIBImage(bytes.data(), bytes.size()), FreeImageRec);
    ASSERT_TRUE(rec && rec->width * rec->height == 6);
    // Bottom row first: black, green, black; then the top row: red, black, blue.
    EXPECT_EQ(std::vector<uint8_t>(rec->data, rec->data + 18),
              (std::vector<uint8_t>{0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 255}));
    EXPECT_TRUE(headless::messageBoxes().empty());
    for (const tex::TextureDef& def : tex::textureCatalogue()) {
        ImagePtr t = load(def.file);
        ASSERT_TRUE(t) << def.file;
        EXPECT_TRUE(t->width >= 64 && !(t->width & (t->width - 1)) &&
                    !(t->height & (t->height - 1)))
            << def.file << ": " << t->width << "x" << t->height;
    }
    ImagePtr img = load("BG.bmp"), star = load("Star.bmp");
    ASSERT_TRUE(img && star);
    // Yellow text prints at 44% to 56% of the height: a dark, even ground there, a lit sky above.
    double sum = 0, sumSq = 0, n = 0;
    for (int row = int(img->height * 0.40); row < int(img->height * 0.60); ++row)
        for (int x = 0; x < img->width; ++x, ++n) {
            const float l = luminance(*img, x, row);
            sum += l, sumSq += l * l;
        }
    EXPECT_LT(sum / n, 0.2);
    EXPECT_LT(std::sqrt(sumSq / n - (sum / n) * (sum / n)), 0.05);
    const int sky = img->height * 3 / 4;
    EXPECT_GT(luminance(*img, img->width / 2, sky) + luminance(*img, 0, sky), 0.4f);
    EXPECT_GT(luminance(*star, star->width / 2, star->height / 2), 0.9f);
    for (int i = 0, w = star->width - 1, h = star->height - 1; i <= w; ++i) {
        EXPECT_LT(luminance(*star, i, 0) + luminance(*star, 0, i), 2.0f / 255);
        EXPECT_LT(luminance(*star, i, h) + luminance(*star, w, i), 2.0f / 255);
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

// One digest over the data as reviewed, so a changed generator shows (record it once reviewed).
TEST(Generators, WriteTheSameBytesOnEveryRunAndTheFontFillsEveryPrintableCode) {
    std::set<std::string> files; // in order
    for (const auto& e : std::filesystem::recursive_directory_iterator(testdata::dataDir()))
        if (e.is_regular_file())
            files.insert(std::filesystem::relative(e.path(), testdata::dataDir()).string());
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
    std::vector<uint8_t> report, again, built; // the font generator's, which comes last
    for (const auto& [program, outputs] : generators) {
        const std::string run = std::string("'") + program + "' "; // first with no folder given
        EXPECT_EQ(WEXITSTATUS(std::system((run + "2> /dev/null").c_str())), 2) << run;
        testdata::ScratchDir dir;
        const std::string cmd = run + "'" + dir.path() + "' > '" + dir.file("report") + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        ASSERT_TRUE(testdata::readFile(dir.file("report"), report));
        for (const std::string& out : outputs)
            EXPECT_TRUE(testdata::readFile(testdata::dataPath(out), built) && !built.empty() &&
                        testdata::readFile(dir.file(out), again) && again == built)
                << out << ": a second run wrote different bytes";
    }
    // The game's font, and the generator's report: how near it comes to the one-byte counts.
    FontFileData font;
    ASSERT_EQ(parseFontFile(built.data(), built.size(), font), FONT_FILE_OK);
    int glyphs = 0, v = 0, t = 0, n = 0, mostVertices = 0; // the first with the most vertices
    for (int c = 0; c < 256; ++c) {
        const bool printable = (c > 32 && c < 127) || c > 160;
        ASSERT_EQ(fontCarriesCode(unsigned(c)), printable) << c; // not only where the face has one
        ASSERT_EQ(font.symbols[c] != nullptr, printable) << c << ": the layout spaces by itself";
        const FontFileSymbol* s = font.symbols[c].get();
        if (!s)
            continue;
        ++glyphs, mostVertices = s->vertexCount > v ? c : mostVertices;
        v = std::max<int>(v, s->vertexCount), t = std::max<int>(t, s->triangleCount);
        n = std::max<int>(n, s->contourCount);
        EXPECT_NEAR(s->minX, -s->maxX, 1e-4) << c << " is not centred";
        // Sample a grid over the glyph, offset so samples rarely land on an edge.
        int inked = 0, mismatched = 0;
        for (int i = 0; i < 48; ++i)
            for (int j = 0; j < 48; ++j) {
                double x = s->minX + (s->maxX - s->minX) * (i + 0.5137) / 48;
                double y = s->minY + (s->maxY - s->minY) * (j + 0.4729) / 48;
                const bool outline = insideOutline(*s, x, y);
                inked += outline, mismatched += outline != insideTriangles(*s, x, y);
            }
        EXPECT_GT(inked, 48 * 48 / 20) << c;
        EXPECT_LE(mismatched, 48 * 48 / 200) << c;
    }
    // A tessellator error (here a coordinate past its range) fails the glyph.
    EXPECT_TRUE(triangulate({{{0, 0}, {1, 0}, {0, 1}}}).ok);
    EXPECT_FALSE(triangulate({{{0, 0}, {1e200, 0}, {0, 1}}}).ok);
    char want[128];
    std::snprintf(want, sizeof want,
                  "fontgen: %d glyphs, at most %d vertices (code %d), %d triangles, %d contours\n",
                  glyphs, v, mostVertices, t, n);
    EXPECT_EQ(std::string(report.begin(), report.end()), want);
}
