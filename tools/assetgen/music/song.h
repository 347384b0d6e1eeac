// Arrangement and composition of one generated music track: chords, sections, melody, drums.
#pragma once

#include "assetgen/music/synth.h"

#include <cstdint>
#include <vector>

namespace music {

enum SectionKind { SECTION_INTRO, SECTION_VERSE, SECTION_CHORUS, SECTION_BRIDGE, SECTION_OUTRO };

struct Section {
    SectionKind kind;
    int bars;
};

enum Groove {
    GROOVE_FOUR_ON_FLOOR, // kick every beat, driving eighth-note bass
    GROOVE_BREAKBEAT      // syncopated kick and bass, swung sixteenths
};

struct SongPlan {
    double bpm;
    int rootMidi; // tonic of the key, in the bass octave
    bool minor;   // natural minor instead of major
    Groove groove;
    float swing; // fraction of a sixteenth by which off-sixteenths are late
    uint32_t seed;
    // Scale degrees (0 = tonic), one chord per bar, cycled through a section.
    std::vector<int> verseChords, chorusChords, bridgeChords;
    std::vector<Section> sections;
    ToneParams lead, pad, bass, arp;
};

// Seconds the arrangement lasts, the ring-out tail included.
double songLength(const SongPlan& plan);

// Renders the whole track, mixed and normalised.
StereoBuffer renderSong(const SongPlan& plan);

// The two tracks of the game.
SongPlan stadiumAnthem();
SongPlan skyChase();

} // namespace music
