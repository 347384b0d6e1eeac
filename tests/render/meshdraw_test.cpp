// Model drawing: the GL state draw leaves with lighting wanted or not, and the pixels it makes.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <array>

#include "modeltest.h"
#include "shared/globals.h"

using namespace scenebuild;
using rendertest::ModelTest;

namespace {

constexpr float Eps = 1e-5f;

// A quad over x0..x1, y0..y1 (normalised device coordinates) with texture coordinates 0..1.
Mesh Rect(const std::string& name, float x0, float y0, float x1, float y1,
          const std::string& material) {
    Mesh m;
    m.name = name;
    m.verts = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
    m.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.faces = {{0, 1, 2}, {0, 2, 3}};
    if (!material.empty())
        m.groups = {material};
    return m;
}

Material Coloured(const std::string& name, std::array<uint8_t, 3> diffuse,
                  std::array<uint8_t, 3> ambient = {0, 0, 0}, const std::string& tex = "") {
    return Material{name, ambient, diffuse, {40, 50, 60}, 30, tex};
}

class DrawTest : public ModelTest {
  protected:
    void SetUp() override {
        ModelTest::SetUp();
        savedLights_ = USE_LIGHTS;
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override { USE_LIGHTS = savedLights_; }

    // RGB of the framebuffer pixel at window coordinates (x, y), bottom row 0.
    std::array<int, 3> Pixel(int x, int y) {
        glFinish();
        std::vector<unsigned char> fb = headless::readFramebuffer();
        const unsigned char* p = &fb[(static_cast<size_t>(y) * 640 + x) * 4];
        return {p[0], p[1], p[2]};
    }

    std::array<float, 4> Current(GLenum what) {
        std::array<float, 4> v{};
        glGetFloatv(what, v.data());
        return v;
    }
    std::array<float, 4> Front(GLenum what) {
        std::array<float, 4> v{};
        glGetMaterialfv(GL_FRONT, what, v.data());
        return v;
    }
    GLuint Bound() {
        GLint b = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &b);
        return static_cast<GLuint>(b);
    }

    bool savedLights_ = false;
};

void ExpectColour(const std::array<float, 4>& got, const float* want) {
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(got[i], want[i], Eps) << "component " << i;
}

} // namespace

TEST_F(DrawTest, LightsOnSetsEachMeshsMaterialAndLeavesTheColourOfUntexturedMeshes) {
    auto model = Load(
        {Coloured("red", {10, 20, 30}, {255, 0, 0}), Coloured("blue", {70, 80, 90}, {0, 0, 255})},
        {Rect("left", -0.9f, -0.5f, -0.1f, 0.5f, "red"),
         Rect("right", 0.1f, -0.5f, 0.9f, 0.5f, "blue")});
    USE_LIGHTS = true;
    // Only the global ambient light: a lit pixel shows the ambient colour of its own material.
    const float white[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glEnable(GL_LIGHTING);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    model->draw();
    glDisable(GL_LIGHTING);

    EXPECT_EQ(Pixel(160, 240), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(Pixel(480, 240), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(Pixel(320, 240), (std::array<int, 3>{0, 0, 0}));

    const MATERIAL& last = model->mats[1];
    ExpectColour(Front(GL_DIFFUSE), last.diffuse);
    ExpectColour(Front(GL_AMBIENT), last.ambient);
    ExpectColour(Front(GL_SPECULAR), last.specular);
    EXPECT_NEAR(Front(GL_SHININESS)[0], last.shininess, Eps);
    const float untouched[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    ExpectColour(Current(GL_CURRENT_COLOR), untouched);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(DrawTest, LightsOffDrawsUntexturedMeshesInDiffuseAndTexturedOnesInWhite) {
    // A 2 x 2 texture: each quarter of the quad shows one texel unchanged.
    bmpbuild::Layout s;
    s.width = 2;
    s.height = 2;
    s.bits = bmpbuild::pack24(2, 2, false, bmpbuild::gradient);
    ASSERT_TRUE(testdata::writeFile("checks.bmp", bmpbuild::build(s)));
    auto model =
        Load({Coloured("green", {0, 255, 0}), Coloured("tex", {255, 0, 0}, {}, "checks.bmp")},
             {Rect("plain", -0.9f, -0.9f, -0.5f, -0.5f, "green"),
              Rect("pic", -0.5f, -0.5f, 0.5f, 0.5f, "tex")});
    USE_LIGHTS = false;
    model->draw();

    EXPECT_EQ(Pixel(80, 30), (std::array<int, 3>{0, 255, 0}));
    for (int ty : {0, 1})
        for (int tx : {0, 1}) {
            bmpbuild::Rgb c = bmpbuild::gradient(tx, ty);
            EXPECT_EQ(Pixel(240 + 160 * tx, 180 + 120 * ty), (std::array<int, 3>{c[0], c[1], c[2]}))
                << "texel " << tx << ", " << ty;
        }
    const float white[4] = {1, 1, 1, 1};
    ExpectColour(Current(GL_CURRENT_COLOR), white);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Bound(), model->mats[1].texture);
    EXPECT_NE(Bound(), 0u);
}

TEST_F(DrawTest, UnmatchedMeshUsesThePlainMaterialAndDamagedFacesAreLeftOut) {
    Mesh m = Rect("m", -0.5f, -0.5f, 0.5f, 0.5f, "nosuch");
    m.faces = {{0, 1, 2}, {0, 2, 40}}; // the upper-left triangle names a missing vertex
    auto model = Load({}, {m});
    ASSERT_EQ(model->meshes[0].matIndex, -1);
    USE_LIGHTS = false;
    model->draw();
    EXPECT_EQ(Pixel(400, 160), (std::array<int, 3>{204, 204, 204})); // below the diagonal
    EXPECT_EQ(Pixel(240, 320), (std::array<int, 3>{0, 0, 0}));       // above it: not drawn
    ExpectColour(Current(GL_CURRENT_COLOR), PlainMaterial.diffuse);

    USE_LIGHTS = true;
    model->draw();
    ExpectColour(Front(GL_DIFFUSE), PlainMaterial.diffuse);
    ExpectColour(Front(GL_AMBIENT), PlainMaterial.ambient);
}
