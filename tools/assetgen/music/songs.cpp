// The game's two tracks: a bright major-key anthem and a swung minor-key chase.
#include "assetgen/music/song.h"

namespace music {

SongPlan stadiumAnthem() {
    SongPlan s;
    s.bpm = 128.0;
    s.rootMidi = 38; // D
    s.minor = false;
    s.groove = GROOVE_FOUR_ON_FLOOR;
    s.swing = 0.0f;
    s.seed = 0x51A7D10u;
    s.verseChords = {0, 4, 5, 3};  // I V vi IV
    s.chorusChords = {3, 4, 0, 5}; // IV V I vi
    s.bridgeChords = {5, 3, 1, 4}; // vi IV ii V
    s.sections = {{SECTION_INTRO, 4}, {SECTION_VERSE, 8},  {SECTION_CHORUS, 8}, {SECTION_BRIDGE, 4},
                  {SECTION_VERSE, 4}, {SECTION_CHORUS, 8}, {SECTION_OUTRO, 4}};
    s.lead.wave = WAVE_SQUARE;
    s.lead.env = {0.01f, 0.15f, 0.75f, 0.12f};
    s.lead.detuneCents = 9.0f;
    s.lead.cutoffHz = 3200.0f;
    s.lead.cutoffEnvHz = 2500.0f;
    s.lead.vibratoHz = 5.5f;
    s.lead.vibratoCents = 18.0f;
    s.pad.wave = WAVE_SAW;
    s.pad.env = {0.25f, 0.6f, 0.8f, 0.45f};
    s.pad.detuneCents = 12.0f;
    s.pad.cutoffHz = 1500.0f;
    s.bass.wave = WAVE_SAW;
    s.bass.env = {0.004f, 0.12f, 0.55f, 0.05f};
    s.bass.cutoffHz = 500.0f;
    s.bass.cutoffEnvHz = 1400.0f;
    s.bass.subLevel = 0.6f;
    s.arp.wave = WAVE_PULSE25;
    s.arp.env = {0.002f, 0.09f, 0.0f, 0.05f};
    s.arp.cutoffHz = 2200.0f;
    s.arp.cutoffEnvHz = 3000.0f;
    return s;
}

SongPlan skyChase() {
    SongPlan s;
    s.bpm = 142.0;
    s.rootMidi = 33; // A
    s.minor = true;
    s.groove = GROOVE_BREAKBEAT;
    s.swing = 0.18f;
    s.seed = 0xC4A5E11u;
    s.verseChords = {0, 5, 2, 6};  // i VI III VII
    s.chorusChords = {5, 6, 0, 0}; // VI VII i i
    s.bridgeChords = {3, 0, 3, 4}; // iv i iv v
    s.sections = {{SECTION_INTRO, 4},  {SECTION_VERSE, 8},  {SECTION_CHORUS, 8},
                  {SECTION_VERSE, 8},  {SECTION_BRIDGE, 4}, {SECTION_CHORUS, 8},
                  {SECTION_CHORUS, 4}, {SECTION_OUTRO, 4}};
    s.lead.wave = WAVE_SAW;
    s.lead.env = {0.006f, 0.2f, 0.6f, 0.1f};
    s.lead.detuneCents = 6.0f;
    s.lead.cutoffHz = 2400.0f;
    s.lead.cutoffEnvHz = 3500.0f;
    s.lead.vibratoHz = 6.2f;
    s.lead.vibratoCents = 14.0f;
    s.pad.wave = WAVE_TRIANGLE;
    s.pad.env = {0.15f, 0.4f, 0.85f, 0.5f};
    s.pad.detuneCents = 7.0f;
    s.pad.cutoffHz = 2600.0f;
    s.bass.wave = WAVE_SQUARE;
    s.bass.env = {0.003f, 0.1f, 0.45f, 0.04f};
    s.bass.cutoffHz = 380.0f;
    s.bass.cutoffEnvHz = 1800.0f;
    s.bass.subLevel = 0.7f;
    s.arp.wave = WAVE_SAW;
    s.arp.env = {0.002f, 0.07f, 0.0f, 0.04f};
    s.arp.cutoffHz = 1800.0f;
    s.arp.cutoffEnvHz = 4000.0f;
    return s;
}

} // namespace music
