// The particle trail: additively blended sprites flying out of an emitter point.
#pragma once

#include <cstdint>

struct PARTICLES {
    bool active;
    float life; // also the alpha it is drawn with
    float fade; // life lost per step
    float red, green, blue;
    float x, y, z; // relative to the emitter
    float vx, vy, vz;
    float gx, gy, gz; // added to the velocity each step
};

class ParticleEmitter {
  public:
    float slowness; // a particle moves velocity / (slowness * 1000) per step
    float xspeed, yspeed, zspeed;
    PARTICLES* particle;
    int32_t numParticles;
    float x, y, z; // emitter position
    unsigned int texture;

    ParticleEmitter(const char* filename, int count, float life, float slowness, float x, float y,
                    float z, float red, float green, float blue, float xspeed, float yspeed,
                    float zspeed);
    ~ParticleEmitter();
    ParticleEmitter(const ParticleEmitter&) = delete;
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // Draws every active particle, then advances it one step.
    void draw();
};
