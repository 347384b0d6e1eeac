// The particle trail: motion, fading, respawn, what a draw sends to GL and the state it leaves.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "particles/particleemitter.h"
#include "platform/headless.h"
#include "shared/globals.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"

namespace {

// The first corner of each sprite drawn (a strip of two triangles): window x, y, red and alpha.
struct Corner {
    float x, y, red, alpha;
};

class ParticleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok());
        USE_LIGHTS = false; // the context is new: identity matrices, the whole window in view
        ASSERT_TRUE(testdata::writeFile(star_, bmpbuild::gradientFile(8, 8)));
    }

    std::vector<Corner> draw(ParticleEmitter& e) {
        std::vector<GLfloat> buf(64 * 1024);
        glFeedbackBuffer(GLsizei(buf.size()), GL_3D_COLOR, buf.data()), glRenderMode(GL_FEEDBACK);
        e.draw();
        GLint n = glRenderMode(GL_RENDER);
        std::vector<Corner> corners;
        for (GLint i = 0, polygon = 0; i < n; ++polygon) {
            EXPECT_EQ(static_cast<GLint>(buf[i]), GL_POLYGON_TOKEN);
            if (polygon % 2 == 0)
                corners.push_back({buf[i + 2], buf[i + 3], buf[i + 5], buf[i + 8]});
            i += 2 + 7 * static_cast<GLint>(buf[i + 1]);
        }
        return corners;
    }

    // A particle standing still at the emitter with the given life and fade; gravity is kept.
    static void still(PARTICLES& p, float life, float fade) {
        p.x = p.y = p.z = p.vx = p.vy = p.vz = 0, p.life = life, p.fade = fade;
    }

    headless::OffscreenGL gl_;
    testdata::ScratchDir dir_;
    std::string star_ = dir_.file("Star.bmp");
};

} // namespace

TEST_F(ParticleTest, ParticlesFallFadeRespawnAndOnlyActiveOnesAreDrawnUnlit) {
    ParticleEmitter e(star_.c_str(), 1, 1.0f, 0.25f, 0.1f, 0.2f, 0.0f, 1, 1, 1, 0, 0, 0);
    ASSERT_NE(e.texture, 0u);
    PARTICLES& p = e.particle[0];
    still(p, 0.5f, 0.25f);
    std::vector<float> alphas, heights, depths;
    for (int i = 0; i < 4; ++i) {
        std::vector<Corner> c = draw(e);
        ASSERT_EQ(c.size(), 1u);
        alphas.push_back(c[0].alpha), heights.push_back(p.y), depths.push_back(p.z);
    }
    // Its alpha is its life less the fade each step; drawn once more at 0, then reborn at full.
    EXPECT_EQ(alphas, (std::vector<float>{0.5f, 0.25f, 0.0f, 1.0f}));
    // A step moves by the velocity before it: gravity shows from step two, down and back in z.
    EXPECT_TRUE(heights[0] == 0.0f && depths[0] == 0.0f && heights[2] == 0.0f);
    EXPECT_TRUE(heights[1] < 0.0f && depths[1] > 0.0f);
    // Respawned speeds spread over -32..27 on x and -30..29 on y and z around the base speed (0).
    std::vector<float> r = {99, -99, 99, -99, 99, -99}; // lowest and highest speed on x, y and z
    for (int i = 0; i < 600; ++i) {
        still(p, 0.5f, 1.0f), draw(e);
        const float v[3] = {p.vx, p.vy, p.vz};
        for (int k = 0; k < 3; ++k)
            r[2 * k] = std::min(r[2 * k], v[k]), r[2 * k + 1] = std::max(r[2 * k + 1], v[k]);
    }
    EXPECT_EQ(r, (std::vector<float>{-32, 27, -30, 29, -30, 29}));
    ParticleEmitter trio(star_.c_str(), 3, 1.0f, 0.25f, 0.1f, 0.2f, 0.0f, 1, 1, 1, 0, 0, 0);
    for (int i = 0; i < 3; ++i)
        still(trio.particle[i], 1.0f, 0.01f);
    trio.particle[1].active = false;
    std::array<GLfloat, 16> before, after;
    glGetFloatv(GL_MODELVIEW_MATRIX, before.data());
    // With lights wanted the sprites are drawn unlit: a black ambient light does not darken them.
    const float black[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    USE_LIGHTS = true, glEnable(GL_LIGHTING);
    glDepthMask(GL_FALSE), glEnable(GL_BLEND);
    std::vector<Corner> c = draw(trio);
    ASSERT_EQ(c.size(), 2u);
    // A 0.3-wide square centred on the emitter, under an identity projection.
    EXPECT_TRUE(std::abs(c[0].x - 1.25f * 320) < 0.01f && std::abs(c[0].y - 1.35f * 240) < 0.01f &&
                c[0].red == 1.0f)
        << c[0].x << "," << c[0].y << " " << c[0].red;
    // Depth writes back on, blending and texturing off, lighting as it was, the matrix kept.
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask), glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_TRUE(mask && !glIsEnabled(GL_BLEND) && !glIsEnabled(GL_TEXTURE_2D) &&
                glIsEnabled(GL_LIGHTING) && before == after && glGetError() == GL_NO_ERROR);
}
