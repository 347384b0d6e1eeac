// Instrument voices of the music generator: band-limited oscillators, envelopes, drums, mixing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace music {

constexpr int SAMPLE_RATE = 44100;

// Small deterministic generator so every build renders the same noise.
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float uniform() { return (next() >> 8) * (1.0f / 16777216.0f); } // [0, 1)
    float bipolar() { return uniform() * 2.0f - 1.0f; }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};

// Interleaved-free stereo mix bus in floats.
struct StereoBuffer {
    std::vector<float> left, right;
    explicit StereoBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    void add(size_t frame, float v, float pan); // pan -1 (left) .. 1 (right), equal power
};

enum Wave { WAVE_SINE, WAVE_SAW, WAVE_SQUARE, WAVE_PULSE25, WAVE_TRIANGLE };

struct Envelope {
    float attack, decay, sustain, release; // seconds, seconds, level, seconds
};

struct ToneParams {
    Wave wave = WAVE_SAW;
    Envelope env{0.005f, 0.1f, 0.7f, 0.1f};
    float detuneCents = 0.0f; // a second oscillator this far up (0: single oscillator)
    float cutoffHz = 8000.0f; // one-pole low-pass (two in series)
    float cutoffEnvHz = 0.0f; // added to the cutoff at the note start, decaying with `decay`
    float vibratoHz = 0.0f, vibratoCents = 0.0f, vibratoDelay = 0.2f;
    float subLevel = 0.0f; // sine one octave down
};

double midiToHz(double midi);

// Renders one note (hold seconds, then release) into the buffer.
void addTone(StereoBuffer& out, double startSec, double holdSec, double midi, float gain, float pan,
             const ToneParams& p);

void addKick(StereoBuffer& out, double startSec, float gain);
void addSnare(StereoBuffer& out, double startSec, float gain, Rng& rng);
void addClap(StereoBuffer& out, double startSec, float gain, Rng& rng);
void addHat(StereoBuffer& out, double startSec, float gain, bool open, float pan, Rng& rng);
void addCrash(StereoBuffer& out, double startSec, float gain, Rng& rng);

// Feedback echo on a bus (delay in seconds), crossing sides for width.
void applyPingPong(StereoBuffer& bus, double delaySec, float feedback, float wet);
// Mixes `src` into `dst` with a gain.
void mixInto(StereoBuffer& dst, const StereoBuffer& src, float gain);
// Soft-clips and scales so the loudest sample sits at `peak`.
void finishMix(StereoBuffer& bus, float peak);

} // namespace music
