// Instrument voices of the music generator: band-limited oscillators, envelopes, drums, mixing.
#include "assetgen/music/synth.h"

#include <algorithm>
#include <cmath>

namespace music {

namespace {

constexpr double TWO_PI = 6.283185307179586;

// Removes the step discontinuity of a naive saw or square near each wrap (poly-BLEP).
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double oscillator(Wave wave, double phase, double dt) {
    switch (wave) {
    case WAVE_SINE:
        return std::sin(TWO_PI * phase);
    case WAVE_SAW:
        return 2.0 * phase - 1.0 - polyBlep(phase, dt);
    case WAVE_SQUARE:
    case WAVE_PULSE25: {
        double width = wave == WAVE_SQUARE ? 0.5 : 0.25;
        double v = phase < width ? 1.0 : -1.0;
        v += polyBlep(phase, dt);
        double shifted = phase - width;
        if (shifted < 0.0)
            shifted += 1.0;
        v -= polyBlep(shifted, dt);
        return v;
    }
    case WAVE_TRIANGLE:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    }
    return 0.0;
}

float envelopeAt(const Envelope& e, double t, double hold) {
    float level;
    if (t < e.attack)
        level = static_cast<float>(t / e.attack);
    else if (t < e.attack + e.decay)
        level = 1.0f - (1.0f - e.sustain) * static_cast<float>((t - e.attack) / e.decay);
    else
        level = e.sustain;
    if (t > hold) {
        // Release from wherever the note stood when it was let go.
        float atHold = envelopeAt(e, hold, hold + 1.0);
        double r = (t - hold) / e.release;
        level = r >= 1.0 ? 0.0f : atHold * static_cast<float>(1.0 - r);
    }
    return level;
}

size_t frameOf(double sec) {
    return static_cast<size_t>(std::max(0.0, sec) * SAMPLE_RATE);
}

} // namespace

void StereoBuffer::add(size_t frame, float v, float pan) {
    if (frame >= left.size())
        return;
    float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
    left[frame] += v * std::cos(angle);
    right[frame] += v * std::sin(angle);
}

double midiToHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

void addTone(StereoBuffer& out, double startSec, double holdSec, double midi, float gain, float pan,
             const ToneParams& p) {
    const double total = holdSec + p.env.release;
    const size_t first = frameOf(startSec);
    const size_t count = static_cast<size_t>(total * SAMPLE_RATE);
    const double baseHz = midiToHz(midi);
    const double detuneRatio = std::pow(2.0, p.detuneCents / 1200.0);
    double ph1 = 0.0, ph2 = 0.25, phSub = 0.0;
    double lp1 = 0.0, lp2 = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / SAMPLE_RATE;
        double hz = baseHz;
        if (p.vibratoCents > 0.0f && t > p.vibratoDelay) {
            double depth = std::min(1.0, (t - p.vibratoDelay) * 4.0) * p.vibratoCents;
            hz *= std::pow(2.0, depth * std::sin(TWO_PI * p.vibratoHz * t) / 1200.0);
        }
        const double dt1 = hz / SAMPLE_RATE;
        double v = oscillator(p.wave, ph1, dt1);
        ph1 += dt1;
        if (ph1 >= 1.0)
            ph1 -= 1.0;
        if (p.detuneCents != 0.0f) {
            const double dt2 = dt1 * detuneRatio;
            v = 0.5 * (v + oscillator(p.wave, ph2, dt2));
            ph2 += dt2;
            if (ph2 >= 1.0)
                ph2 -= 1.0;
        }
        if (p.subLevel > 0.0f) {
            v += p.subLevel * std::sin(TWO_PI * phSub);
            phSub += dt1 * 0.5;
            if (phSub >= 1.0)
                phSub -= 1.0;
        }
        double cutoff = p.cutoffHz + p.cutoffEnvHz * std::exp(-t / std::max(0.01f, p.env.decay));
        double a = 1.0 - std::exp(-TWO_PI * std::min(cutoff, 18000.0) / SAMPLE_RATE);
        lp1 += a * (v - lp1);
        lp2 += a * (lp1 - lp2);
        float s = static_cast<float>(lp2) * envelopeAt(p.env, t, holdSec) * gain;
        out.add(first + i, s, pan);
    }
}

void addKick(StereoBuffer& out, double startSec, float gain) {
    const size_t first = frameOf(startSec);
    const size_t count = static_cast<size_t>(0.35 * SAMPLE_RATE);
    double phase = 0.0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double hz = 48.0 + 110.0 * std::exp(-t * 28.0);
        phase += hz / SAMPLE_RATE;
        double amp = std::exp(-t * 9.0);
        double click = t < 0.004 ? (1.0 - t / 0.004) * 0.4 : 0.0;
        float s = static_cast<float>((std::sin(TWO_PI * phase) * amp + click) * gain);
        out.add(first + i, s, 0.0f);
    }
}

void addSnare(StereoBuffer& out, double startSec, float gain, Rng& rng) {
    const size_t first = frameOf(startSec);
    const size_t count = static_cast<size_t>(0.25 * SAMPLE_RATE);
    double phase = 0.0, hp = 0.0, prev = 0.0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double n = rng.bipolar();
        hp = 0.8 * (hp + n - prev); // crude high-pass keeps the rattle bright
        prev = n;
        phase += (185.0 + 40.0 * std::exp(-t * 40.0)) / SAMPLE_RATE;
        double body = std::sin(TWO_PI * phase) * std::exp(-t * 25.0);
        double noise = hp * std::exp(-t * 16.0);
        out.add(first + i, static_cast<float>((0.55 * body + 0.6 * noise) * gain), 0.05f);
    }
}

void addClap(StereoBuffer& out, double startSec, float gain, Rng& rng) {
    const size_t first = frameOf(startSec);
    const size_t count = static_cast<size_t>(0.2 * SAMPLE_RATE);
    double bp1 = 0.0, bp2 = 0.0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        // Three quick bursts, then a tail: the smear of several hands.
        double burst = std::fmod(t, 0.011) < 0.004 && t < 0.033 ? 1.0 : 0.0;
        double env = std::max(burst, std::exp(-(t - 0.033) * 22.0) * (t >= 0.033 ? 1.0 : 0.0));
        double n = rng.bipolar();
        bp1 += 0.35 * (n - bp1);
        bp2 += 0.35 * (bp1 - bp2);
        double band = bp1 - bp2;
        out.add(first + i, static_cast<float>(band * env * gain * 2.2), -0.1f);
    }
}

void addHat(StereoBuffer& out, double startSec, float gain, bool open, float pan, Rng& rng) {
    const size_t first = frameOf(startSec);
    const double len = open ? 0.28 : 0.05;
    const size_t count = static_cast<size_t>(len * SAMPLE_RATE);
    double prev = 0.0, hp = 0.0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double n = rng.bipolar();
        hp = 0.6 * (hp + n - prev);
        prev = n;
        double env = std::exp(-t * (open ? 11.0 : 70.0));
        out.add(first + i, static_cast<float>(hp * env * gain), pan);
    }
}

void addCrash(StereoBuffer& out, double startSec, float gain, Rng& rng) {
    const size_t first = frameOf(startSec);
    const size_t count = static_cast<size_t>(1.6 * SAMPLE_RATE);
    double prevL = 0.0, hpL = 0.0, prevR = 0.0, hpR = 0.0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        double env = std::exp(-t * 2.6) * gain;
        double nl = rng.bipolar(), nr = rng.bipolar();
        hpL = 0.7 * (hpL + nl - prevL);
        prevL = nl;
        hpR = 0.7 * (hpR + nr - prevR);
        prevR = nr;
        if (first + i < out.frames()) {
            out.left[first + i] += static_cast<float>(hpL * env);
            out.right[first + i] += static_cast<float>(hpR * env);
        }
    }
}

void applyPingPong(StereoBuffer& bus, double delaySec, float feedback, float wet) {
    const size_t d = static_cast<size_t>(delaySec * SAMPLE_RATE);
    if (d == 0 || d >= bus.frames())
        return;
    std::vector<float> el(bus.frames(), 0.0f), er(bus.frames(), 0.0f);
    for (size_t i = d; i < bus.frames(); ++i) {
        // Each repeat swaps sides and loses some highs.
        el[i] = (bus.right[i - d] * wet + er[i - d] * feedback);
        er[i] = (bus.left[i - d] * wet + el[i - d] * feedback);
    }
    for (size_t i = 0; i < bus.frames(); ++i) {
        bus.left[i] += el[i];
        bus.right[i] += er[i];
    }
}

void mixInto(StereoBuffer& dst, const StereoBuffer& src, float gain) {
    size_t n = std::min(dst.frames(), src.frames());
    for (size_t i = 0; i < n; ++i) {
        dst.left[i] += src.left[i] * gain;
        dst.right[i] += src.right[i] * gain;
    }
}

void finishMix(StereoBuffer& bus, float peak) {
    float maxAbs = 0.0f;
    for (size_t i = 0; i < bus.frames(); ++i) {
        bus.left[i] = std::tanh(bus.left[i]);
        bus.right[i] = std::tanh(bus.right[i]);
        maxAbs = std::max(maxAbs, std::max(std::fabs(bus.left[i]), std::fabs(bus.right[i])));
    }
    if (maxAbs <= 0.0f)
        return;
    float k = peak / maxAbs;
    for (size_t i = 0; i < bus.frames(); ++i) {
        bus.left[i] *= k;
        bus.right[i] *= k;
    }
}

} // namespace music
