// The particle trail: construction and warm-up, the step rules, what draw sends to GL and the
// state it leaves.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "particles/particleemitter.h"
#include "platform/headless.h"
#include "render/bmpbuilder.h"
#include "render/rendertestsupport.h"
#include "shared/globals.h"

namespace {

// One polygon as GL feedback reports it: window x, y, z and RGBA per vertex.
struct FeedbackVertex {
    float x, y, z, r, g, b, a;
};
using Polygon = std::vector<FeedbackVertex>;

class ParticleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok());
        headless::clearMessageBoxes();
        savedLights_ = USE_LIGHTS;
        USE_LIGHTS = false;
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        bmptest::BmpLayout s;
        s.width = 8;
        s.height = 8;
        s.bits = bmptest::Pack24(8, 8, false, bmptest::Gradient);
        star_ = dir_.file("Star.bmp");
        ASSERT_TRUE(bmptest::WriteFile(star_, bmptest::BuildBmp(s)));
    }
    void TearDown() override { USE_LIGHTS = savedLights_; }

    // Runs draw in feedback mode and returns the polygons it produced.
    std::vector<Polygon> DrawFeedback(ParticleEmitter& e) {
        std::vector<GLfloat> buffer(64 * 1024);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        e.draw();
        GLint n = glRenderMode(GL_RENDER);
        std::vector<Polygon> polygons;
        for (GLint i = 0; i < n;) {
            GLint token = static_cast<GLint>(buffer[i++]);
            if (token != GL_POLYGON_TOKEN) {
                ADD_FAILURE() << "unexpected feedback token " << token;
                break;
            }
            GLint count = static_cast<GLint>(buffer[i++]);
            Polygon p;
            for (GLint v = 0; v < count; ++v, i += 7)
                p.push_back({buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3], buffer[i + 4],
                             buffer[i + 5], buffer[i + 6]});
            polygons.push_back(p);
        }
        return polygons;
    }

    // A single still particle at the emitter's point, with the given life and fade.
    static void Freeze(PARTICLES& p, float life, float fade) {
        p.x = p.y = p.z = 0;
        p.vx = p.vy = p.vz = 0;
        p.gx = p.gy = p.gz = 0;
        p.life = life;
        p.fade = fade;
    }

    headless::OffscreenGL gl_;
    rendertest::ScratchDir dir_;
    std::string star_;
    bool savedLights_ = false;
};

} // namespace

TEST_F(ParticleTest, ConstructionFillsEveryParticleAndLoadsTheSprite) {
    std::srand(7);
    ParticleEmitter e(star_.c_str(), 100, 1.0f, 0.25f, 0.0f, -0.35f, 3.35f, 0.0f, 1.0f, 1.0f, 0.0f,
                      -11.0f, 55.0f);
    EXPECT_EQ(e.numParticles, 100);
    EXPECT_EQ(e.slowness, 0.25f);
    EXPECT_EQ(e.y, -0.35f);
    EXPECT_EQ(e.z, 3.35f);
    EXPECT_EQ(e.yspeed, -11.0f);
    EXPECT_NE(e.texture, 0u);
    EXPECT_TRUE(glIsTexture(e.texture));
    for (int i = 0; i < e.numParticles; ++i) {
        const PARTICLES& p = e.particle[i];
        EXPECT_TRUE(p.active);
        EXPECT_GE(p.fade, 0.003f - 1e-6f);
        EXPECT_LE(p.fade, 0.102f + 1e-6f);
        EXPECT_EQ(p.red, 0.0f);
        EXPECT_EQ(p.green, 1.0f);
        EXPECT_EQ(p.blue, 1.0f);
        EXPECT_EQ(p.gx, 0.0f);
        EXPECT_EQ(p.gy, -1.8f);
        EXPECT_EQ(p.gz, 2.0f);
    }

    ParticleEmitter missing(dir_.file("none.bmp").c_str(), 3, 1.0f, 0.25f, 0, 0, 0, 1, 1, 1, 0, 0,
                            0);
    EXPECT_EQ(missing.texture, 0u);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(ParticleTest, WarmUpAdvancesEarlierParticlesMoreFromTheEmitterPoint) {
    // With life 1.0 the warm-up runs once after each particle is filled, over the particles
    // filled so far: particle i of n takes n - i steps, all starting at the emitter's point.
    std::srand(11);
    const int n = 6;
    const float slowness = 0.25f;
    ParticleEmitter e(star_.c_str(), n, 1.0f, slowness, 5, 6, 7, 1, 1, 1, 3.0f, -11.0f, 55.0f);
    const float scale = slowness * 1000.0f;
    const float base[3] = {3.0f, -11.0f, 55.0f};
    const float offsetLow[3] = {-260, -250, -250};
    const float offsetHigh[3] = {230, 240, 240};
    for (int i = 0; i < n; ++i) {
        const PARTICLES& p = e.particle[i];
        const float steps = static_cast<float>(n - i);
        EXPECT_NEAR(p.life, 1.0f - steps * p.fade, 1e-5f) << "particle " << i;
        const float v[3] = {p.vx, p.vy, p.vz};
        const float g[3] = {p.gx, p.gy, p.gz};
        const float pos[3] = {p.x, p.y, p.z};
        for (int axis = 0; axis < 3; ++axis) {
            float v0 = v[axis] - steps * g[axis];
            float offset = v0 - base[axis];
            EXPECT_NEAR(std::fmod(std::fabs(offset) + 0.01f, 10.0f), 0.01f, 1e-3f);
            EXPECT_GE(offset, offsetLow[axis] - 1e-3f);
            EXPECT_LE(offset, offsetHigh[axis] + 1e-3f);
            float travelled = (steps * v0 + g[axis] * steps * (steps - 1) / 2) / scale;
            EXPECT_NEAR(pos[axis], travelled, 1e-4f) << "particle " << i << " axis " << axis;
        }
    }
}

TEST_F(ParticleTest, ParticleAtLifeZeroIsDrawnOnceMoreThenRespawns) {
    ParticleEmitter e(star_.c_str(), 1, 1.0f, 0.25f, 0.1f, 0.2f, 0.0f, 0.5f, 0.25f, 1.0f, 0, 0, 0);
    PARTICLES& p = e.particle[0];
    Freeze(p, 0.5f, 0.5f);

    std::vector<Polygon> first = DrawFeedback(e);
    ASSERT_EQ(first.size(), 2u); // the strip's two triangles
    EXPECT_NEAR(first[0][0].a, 0.5f, 1e-6f);
    EXPECT_NEAR(first[0][0].r, 0.5f, 1e-6f);
    EXPECT_NEAR(first[0][0].g, 0.25f, 1e-6f);
    EXPECT_EQ(p.life, 0.0f);
    // The square sits at the emitter position: first corner (x + 0.15, y + 0.15).
    EXPECT_NEAR(first[0][0].x, (0.25f + 1) * 320, 0.01f);
    EXPECT_NEAR(first[0][0].y, (0.35f + 1) * 240, 0.01f);

    std::vector<Polygon> second = DrawFeedback(e);
    ASSERT_EQ(second.size(), 2u); // life exactly 0 is still drawn, with alpha 0
    EXPECT_EQ(second[0][0].a, 0.0f);
    EXPECT_EQ(p.life, 1.0f); // and only now respawned
    EXPECT_EQ(p.fade, 0.5f);
    EXPECT_EQ(p.x, 0.0f);

    std::vector<Polygon> third = DrawFeedback(e);
    ASSERT_EQ(third.size(), 2u);
    EXPECT_NEAR(third[0][0].a, 1.0f, 1e-6f);
}

TEST_F(ParticleTest, RespawnRestartsAtTheEmitterWithNarrowSpeedsAndKeepsFadeAndColour) {
    std::srand(3);
    const float base[3] = {2.0f, -11.0f, 55.0f};
    ParticleEmitter e(star_.c_str(), 300, 1.0f, 0.25f, 0, 0, 0, 0.2f, 0.4f, 0.6f, base[0], base[1],
                      base[2]);
    for (int i = 0; i < e.numParticles; ++i) {
        e.particle[i].life = 0.001f;
        e.particle[i].fade = 0.003f;
        e.particle[i].x = 9.0f;
    }
    e.draw();
    float low[3] = {1e9f, 1e9f, 1e9f}, high[3] = {-1e9f, -1e9f, -1e9f};
    for (int i = 0; i < e.numParticles; ++i) {
        const PARTICLES& p = e.particle[i];
        ASSERT_EQ(p.life, 1.0f);
        EXPECT_EQ(p.x, 0.0f);
        EXPECT_EQ(p.y, 0.0f);
        EXPECT_EQ(p.z, 0.0f);
        EXPECT_EQ(p.fade, 0.003f);
        EXPECT_EQ(p.red, 0.2f);
        EXPECT_EQ(p.gy, -1.8f);
        const float v[3] = {p.vx, p.vy, p.vz};
        for (int axis = 0; axis < 3; ++axis) {
            float offset = v[axis] - base[axis];
            EXPECT_EQ(offset, std::round(offset));
            low[axis] = std::min(low[axis], offset);
            high[axis] = std::max(high[axis], offset);
        }
    }
    // x spreads over -32..27, y and z over -30..29.
    EXPECT_GE(low[0], -32.0f);
    EXPECT_LE(high[0], 27.0f);
    for (int axis = 1; axis < 3; ++axis) {
        EXPECT_GE(low[axis], -30.0f);
        EXPECT_LE(high[axis], 29.0f);
    }
    EXPECT_LT(low[0], -25.0f); // 300 draws reach well into the x range's lower end
}

TEST_F(ParticleTest, DrawLeavesDepthWritesOnAndBlendingAndTexturingOff) {
    ParticleEmitter e(star_.c_str(), 10, 1.0f, 0.25f, 1, 2, 3, 1, 1, 1, 0, 0, 0);
    GLfloat before[16], after[16];
    glTranslatef(0.5f, 0.0f, 0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    for (bool on : {false, true}) {
        glDepthMask(on ? GL_TRUE : GL_FALSE);
        if (on) {
            glEnable(GL_BLEND);
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_BLEND);
            glDisable(GL_TEXTURE_2D);
        }
        e.draw();
        GLboolean mask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        EXPECT_EQ(mask, GL_TRUE);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        GLint src = 0, dst = 0, bound = 0;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(src, GL_SRC_ALPHA);
        EXPECT_EQ(dst, GL_ONE);
        EXPECT_EQ(static_cast<GLuint>(bound), e.texture);
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(before[i], after[i]);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleTest, LightingIsTouchedOnlyWhenLightsAreWanted) {
    ParticleEmitter e(star_.c_str(), 4, 1.0f, 0.25f, 0, 0, 0, 1, 1, 1, 0, 0, 0);
    USE_LIGHTS = false;
    glEnable(GL_LIGHTING);
    e.draw();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHTING);
    e.draw();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    // With lights wanted the sprites are unlit, and lighting is on again afterwards.
    USE_LIGHTS = true;
    glEnable(GL_LIGHTING);
    const float black[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    Freeze(e.particle[0], 1.0f, 0.01f);
    std::vector<Polygon> lit = DrawFeedback(e);
    ASSERT_FALSE(lit.empty());
    EXPECT_EQ(lit[0][0].r, 1.0f); // not darkened by the black ambient light
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glDisable(GL_LIGHTING);
}
