// Arrangement and composition of one generated music track: chords, sections, melody, drums.
#include "assetgen/music/song.h"

#include <algorithm>
#include <cmath>

namespace music {

namespace {

const int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
const int MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
constexpr double TAIL_SECONDS = 2.5;

struct Note {
    int step;   // sixteenth within the two-bar motif
    int length; // in sixteenths
};

// Two-bar rhythms the melody is built on; the last one closes a phrase.
const std::vector<Note> RHYTHMS[4] = {
    {{0, 3}, {3, 3}, {6, 2}, {8, 4}, {12, 2}, {14, 2}, {16, 6}, {22, 2}, {24, 4}, {28, 4}},
    {{0, 2}, {2, 2}, {4, 4}, {10, 2}, {12, 4}, {16, 2}, {18, 2}, {20, 2}, {22, 2}, {24, 8}},
    {{0, 3}, {3, 3}, {6, 4}, {10, 2}, {12, 4}, {16, 3}, {19, 3}, {22, 2}, {24, 3}, {27, 5}},
    {{0, 4}, {4, 4}, {8, 8}, {16, 14}},
};

struct Composer {
    const SongPlan& plan;
    const int* scale;
    double stepSec;
    StereoBuffer drums, harmony, lead;
    Rng drumRng;

    explicit Composer(const SongPlan& s, size_t frames)
        : plan(s), scale(s.minor ? MINOR : MAJOR), stepSec(60.0 / s.bpm / 4.0), drums(frames),
          harmony(frames), lead(frames), drumRng(s.seed ^ 0xD3u) {}

    // Pitch of a scale index (7 per octave) above the root.
    double pitch(int index, int octave) const {
        int o = index >= 0 ? index / 7 : -((-index + 6) / 7);
        int within = index - o * 7;
        return plan.rootMidi + 12 * (octave + o) + scale[within];
    }

    double stepTime(double barStart, int step) const {
        double t = barStart + step * stepSec;
        if (step % 2 == 1)
            t += plan.swing * stepSec;
        return t;
    }

    void chordPad(double barStart, int degree, float gain) {
        for (int k = 0; k < 3; ++k) {
            double p = pitch(degree + 2 * k, 2);
            float pan = (k - 1) * 0.55f;
            addTone(harmony, barStart, 16 * stepSec - 0.05, p, gain, pan, plan.pad);
        }
    }

    void bassBar(double barStart, int degree, bool half) {
        const double root = pitch(degree, 0);
        if (plan.groove == GROOVE_FOUR_ON_FLOOR) {
            for (int e = 0; e < 8; ++e) {
                if (half && e % 2 == 1)
                    continue;
                double p = (e % 4 == 3) ? root + 12 : root;
                addTone(harmony, stepTime(barStart, e * 2), stepSec * 1.5, p, 0.34f, 0.0f,
                        plan.bass);
            }
        } else {
            const int steps[] = {0, 3, 6, 8, 10, 11, 14};
            const int octave[] = {0, 0, 12, 0, 0, 12, 7};
            for (int i = 0; i < 7; ++i) {
                if (half && i % 2 == 1)
                    continue;
                double p = root + octave[i];
                addTone(harmony, stepTime(barStart, steps[i]), stepSec * 1.4, p, 0.36f, 0.0f,
                        plan.bass);
            }
        }
    }

    void arpBar(double barStart, int degree, float gain) {
        const int order[] = {0, 2, 4, 7, 4, 2, 0, 2, 4, 7, 9, 7, 4, 2, 4, 7};
        for (int st = 0; st < 16; ++st) {
            double p = pitch(degree + order[st], 4);
            float pan = (st % 2 == 0) ? -0.45f : 0.45f;
            addTone(lead, stepTime(barStart, st), stepSec * 0.6, p, gain, pan, plan.arp);
        }
    }

    void drumBar(double barStart, SectionKind kind, int barInSection, int sectionBars) {
        const bool last = barInSection == sectionBars - 1;
        const bool full = kind == SECTION_VERSE || kind == SECTION_CHORUS;
        if (kind == SECTION_CHORUS && barInSection == 0)
            addCrash(drums, barStart, 0.32f, drumRng);
        // Kick.
        if (full || (kind == SECTION_INTRO && barInSection >= 2) ||
            (kind == SECTION_OUTRO && barInSection < 2)) {
            if (plan.groove == GROOVE_FOUR_ON_FLOOR) {
                for (int b = 0; b < 4; ++b)
                    addKick(drums, stepTime(barStart, b * 4), 0.9f);
            } else {
                const int steps[] = {0, 6, 10};
                for (int st : steps)
                    addKick(drums, stepTime(barStart, st), 0.9f);
                if (barInSection % 2 == 1)
                    addKick(drums, stepTime(barStart, 14), 0.6f);
            }
        }
        // Backbeat.
        if (full || (kind == SECTION_OUTRO && barInSection < 2)) {
            addSnare(drums, stepTime(barStart, 4), 0.55f, drumRng);
            addSnare(drums, stepTime(barStart, 12), 0.55f, drumRng);
            if (kind == SECTION_CHORUS) {
                addClap(drums, stepTime(barStart, 4), 0.4f, drumRng);
                addClap(drums, stepTime(barStart, 12), 0.4f, drumRng);
            }
        }
        // Hats.
        if (full || (kind == SECTION_INTRO && barInSection >= 1) || kind == SECTION_BRIDGE) {
            for (int st = 0; st < 16; ++st) {
                bool eighth = st % 2 == 0;
                if (!eighth && plan.groove == GROOVE_FOUR_ON_FLOOR && kind != SECTION_CHORUS)
                    continue;
                float g = eighth ? 0.16f : 0.09f;
                bool open = kind == SECTION_CHORUS && st % 4 == 2;
                addHat(drums, stepTime(barStart, st), open ? 0.13f : g, open, 0.3f, drumRng);
            }
        }
        // Fill into the next section.
        if (last && (kind == SECTION_INTRO || kind == SECTION_BRIDGE || kind == SECTION_VERSE)) {
            for (int st = 8; st < 16; ++st)
                addSnare(drums, stepTime(barStart, st), 0.2f + 0.04f * (st - 8), drumRng);
        }
    }

    // One two-bar motif; the same seed gives the same contour over different chords.
    int motif(double start, const std::vector<int>& chords, int bar, uint32_t seed, int rhythm,
              int startIndex, int octave, float gain, bool doubleOctave, bool cadence) {
        Rng rng(seed);
        int cur = startIndex;
        const std::vector<Note>& notes = RHYTHMS[rhythm];
        for (size_t i = 0; i < notes.size(); ++i) {
            const Note& n = notes[i];
            int chord = chords[(bar + n.step / 16) % chords.size()];
            bool strong = n.step % 8 == 0 || n.length >= 4;
            int r = rng.below(5) - 2;
            if (cadence && i + 1 == notes.size()) {
                cur = chord + 7 * ((cur - chord + 3) / 7); // chord root nearest the line
            } else if (strong) {
                // Nearest chord tone to a nudged line.
                int target = cur + r;
                int best = cur, bestDist = 99;
                for (int k = -14; k <= 21; ++k) {
                    int idx = chord + k;
                    int rel = ((k % 7) + 7) % 7;
                    if (rel != 0 && rel != 2 && rel != 4)
                        continue;
                    int d = std::abs(idx - target);
                    if (d < bestDist) {
                        bestDist = d;
                        best = idx;
                    }
                }
                cur = best;
            } else {
                int step = (r == 0) ? 1 : r;
                cur += step;
            }
            // Keep the line in a singable range around the start.
            if (cur > startIndex + 6)
                cur -= 3;
            if (cur < startIndex - 5)
                cur += 3;
            double t = stepTime(start, n.step);
            double hold = n.length * stepSec * 0.92;
            double p = pitch(cur, octave);
            addTone(lead, t, hold, p, gain, -0.05f, plan.lead);
            if (doubleOctave)
                addTone(lead, t, hold, p + 12, gain * 0.35f, 0.25f, plan.lead);
        }
        return cur;
    }

    // The last bar: tonic held by lead, bass and a bright crash, ringing into the tail.
    void finalChord(double start, double barSec) {
        addTone(lead, start, barSec + 0.6, pitch(7, 3), 0.2f, 0.0f, plan.lead);
        addTone(lead, start, barSec + 0.6, pitch(11, 3), 0.1f, 0.3f, plan.lead);
        addTone(harmony, start, barSec + 0.8, pitch(0, 0), 0.34f, 0.0f, plan.bass);
        addKick(drums, start, 0.9f);
        addCrash(drums, start, 0.35f, drumRng);
    }

    void melodyPhrase(double start, const std::vector<int>& chords, int bars, uint32_t seed,
                      int octave, bool chorus) {
        const double barSec = 16 * stepSec;
        const int base = chorus ? 4 : 2;
        const int rhythmA = chorus ? 1 : 0;
        const int rhythmB = chorus ? 0 : 2;
        for (int b = 0; b + 1 < bars; b += 2) {
            int slot = (b / 2) % 4;
            double t = start + b * barSec;
            float g = chorus ? 0.2f : 0.17f;
            if (slot == 0 || slot == 1)
                motif(t, chords, b, seed, rhythmA, base, octave, g, chorus, false);
            else if (slot == 2)
                motif(t, chords, b, seed + 1, rhythmB, base + 1, octave, g, chorus, false);
            else
                motif(t, chords, b, seed + 2, 3, base, octave, g, chorus, true);
        }
    }
};

} // namespace

double songLength(const SongPlan& plan) {
    int bars = 0;
    for (const Section& s : plan.sections)
        bars += s.bars;
    return bars * 4 * 60.0 / plan.bpm + TAIL_SECONDS;
}

StereoBuffer renderSong(const SongPlan& plan) {
    const size_t frames = static_cast<size_t>(songLength(plan) * SAMPLE_RATE);
    Composer c(plan, frames);
    const double barSec = 16 * c.stepSec;
    double t = 0.0;
    for (const Section& sec : plan.sections) {
        const std::vector<int>& chords = sec.kind == SECTION_CHORUS   ? plan.chorusChords
                                         : sec.kind == SECTION_BRIDGE ? plan.bridgeChords
                                                                      : plan.verseChords;
        for (int b = 0; b < sec.bars; ++b) {
            double bt = t + b * barSec;
            int degree = chords[b % chords.size()];
            bool outroEnd = sec.kind == SECTION_OUTRO && b == sec.bars - 1;
            c.chordPad(bt, outroEnd ? 0 : degree, sec.kind == SECTION_BRIDGE ? 0.12f : 0.09f);
            c.drumBar(bt, sec.kind, b, sec.bars);
            if (sec.kind != SECTION_INTRO && !outroEnd)
                c.bassBar(bt, degree, sec.kind == SECTION_BRIDGE);
            if (sec.kind == SECTION_CHORUS || sec.kind == SECTION_BRIDGE ||
                (sec.kind == SECTION_INTRO && b >= 2))
                c.arpBar(bt, degree, sec.kind == SECTION_CHORUS ? 0.05f : 0.07f);
        }
        if (sec.kind == SECTION_VERSE || sec.kind == SECTION_CHORUS)
            c.melodyPhrase(t, chords, sec.bars, plan.seed + 17u * (sec.kind == SECTION_CHORUS), 3,
                           sec.kind == SECTION_CHORUS);
        if (sec.kind == SECTION_OUTRO) {
            double end = t + (sec.bars - 1) * barSec;
            c.finalChord(end, barSec);
        }
        t += sec.bars * barSec;
    }
    applyPingPong(c.lead, c.stepSec * 3, 0.3f, 0.3f);
    StereoBuffer master(frames);
    mixInto(master, c.drums, 0.9f);
    mixInto(master, c.harmony, 1.0f);
    mixInto(master, c.lead, 1.0f);
    finishMix(master, 0.89f);
    return master;
}

} // namespace music
