// ParticleEmitter: builds and warms up the particles, then draws and advances them each call.
#include "particles/particleemitter.h"

#include <GL/gl.h>

#include "render/texture.h"
#include "shared/globals.h"
#include "shared/random.h"

namespace {

constexpr float HalfSize = 0.15f;

// One step of a particle: move with the old velocity, accelerate, age, and respawn at the
// emitter's point once its life has gone below zero.
void Advance(PARTICLES& p, const ParticleEmitter& e) {
    float scale = e.slowness * 1000.0f;
    p.x += p.vx / scale;
    p.y += p.vy / scale;
    p.z += p.vz / scale;
    p.vx += p.gx;
    p.vy += p.gy;
    p.vz += p.gz;
    p.life -= p.fade;
    if (p.life < 0.0f) {
        p.life = 1.0f;
        p.x = p.y = p.z = 0.0f;
        p.vx = static_cast<float>(gameRandom() % 60 - 32) + e.xspeed;
        p.vy = static_cast<float>(gameRandom() % 60 - 30) + e.yspeed;
        p.vz = static_cast<float>(gameRandom() % 60 - 30) + e.zspeed;
    }
}

void DrawSprite(const PARTICLES& p) {
    glColor4f(p.red, p.green, p.blue, p.life);
    glBegin(GL_TRIANGLE_STRIP);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(p.x + HalfSize, p.y + HalfSize, p.z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(p.x - HalfSize, p.y + HalfSize, p.z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(p.x + HalfSize, p.y - HalfSize, p.z);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(p.x - HalfSize, p.y - HalfSize, p.z);
    glEnd();
}

} // namespace

// Records not yet filled start inactive at the emitter's point, so the warm-up (which runs while
// they are being filled) leaves them alone; the warm-up only advances, it draws nothing, since
// the sprite is not loaded yet.
ParticleEmitter::ParticleEmitter(const char* filename, int count, float life, float slowness_,
                                 float x_, float y_, float z_, float red, float green, float blue,
                                 float xspeed_, float yspeed_, float zspeed_)
    : slowness(slowness_), xspeed(xspeed_), yspeed(yspeed_), zspeed(zspeed_), particle(nullptr),
      numParticles(count > 0 ? count : 0), x(x_), y(y_), z(z_), texture(0) {
    particle = new PARTICLES[numParticles]();
    for (int32_t i = 0; i < numParticles; ++i) {
        PARTICLES& p = particle[i];
        p.active = true;
        p.life = life;
        p.fade = static_cast<float>(gameRandom() % 100) / 1000.0f + 0.003f;
        p.red = red;
        p.green = green;
        p.blue = blue;
        p.vx = static_cast<float>((gameRandom() % 50 - 26) * 10) + xspeed;
        p.vy = static_cast<float>((gameRandom() % 50 - 25) * 10) + yspeed;
        p.vz = static_cast<float>((gameRandom() % 50 - 25) * 10) + zspeed;
        p.gx = 0.0f;
        p.gy = -1.8f;
        p.gz = 2.0f;
        for (int k = 0; k < 0.75f * life; ++k)
            for (int32_t j = 0; j < numParticles; ++j)
                if (particle[j].active)
                    Advance(particle[j], *this);
    }
    texture = LoadGLTextures(filename);
}

ParticleEmitter::~ParticleEmitter() {
    // The sprite is loaded by each emitter for itself, so it goes with the emitter.
    if (texture != 0) {
        glDeleteTextures(1, &texture);
    }
    delete[] particle;
}

void ParticleEmitter::draw() {
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (USE_LIGHTS)
        glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(x, y, z);
    for (int32_t i = 0; i < numParticles; ++i) {
        PARTICLES& p = particle[i];
        if (!p.active)
            continue;
        DrawSprite(p);
        Advance(p, *this);
    }
    if (USE_LIGHTS)
        glEnable(GL_LIGHTING);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
