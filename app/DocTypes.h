#pragma once
// Records and numbers the document shares with its views and the analysis
// worker. Portable.

#include "framework/CString.h"

// One chord of the result. Pitches are classes 0..11 from A = 0, stored
// untransposed.
struct ChordEntry {
    int root = 0;
    int time = 0;  // ms from the start of the song
    int bass = -1; // slash-chord bass, -1 none
    CString name;  // display name for the current transposition
    bool major = true;
    CString suffix;      // "", "5", "6", "7", "9", "maj7", "sus4", "add9" or typed text
    int confidence = 0;  // percent; above 100 is always shown
    int visible = 1;
};

// One bass note, six ints in this order.
struct BassNote {
    int pitch = 0;
    int time = 0; // ms
    int octave = 0;
    int placement = -1; // -1 automatic; else string in the low byte, fret in the high 16 bits
    int level = 0;      // percent; typed notes carry 120
    int visible = 1;
};

// What changed, passed to the views' update.
enum DocHint {
    HINT_PLAY_STARTED = 900,
    HINT_PLAY_STOPPED = 901,
    HINT_AUDIO_LOADED = 902,
    HINT_CHORDS_CHANGED = 903,
    HINT_POSITION_CHANGED = 904,
    HINT_BASS_CHANGED = 905,
    HINT_RESERVED_906 = 906,
    HINT_ZOOM_CHANGED = 907,
    HINT_LAYOUT_CHANGED = 908,
    HINT_PRINT = 909,
    HINT_REBUILD_LEADSHEET = 910,
    HINT_PITCH_PAIRS_CHANGED = 911,
    HINT_PITCH_SETS_CHANGED = 912,
    HINT_BAR_NUMBERS_CHANGED = 913,
    HINT_SAVE_SCROLL = 914,
    HINT_MODE_CHANGED = 915,
    HINT_RELOAD_ALL = 916,
};

// The longest song the program takes: 4 hours, above the 3 h 22 min of a
// 2 GB WAV file at 44.1 kHz 16-bit stereo.
constexpr int kMaxSongMs = 4 * 3600 * 1000;
// The shortest row the views lay out, the settings dialog's 3 seconds.
constexpr int kMinRowMs = 3000;
// The most rows a song can have, and so the most lyric lines (each a
// window) and row texts a document holds.
constexpr int kMaxRows = kMaxSongMs / kMinRowMs + 1;

// A document's transposition in semitones either way (the transpose
// dialog's limit), and a reference pitch above any a song is tuned to.
constexpr int kMaxTranspose = 11;
constexpr float kMaxTuningHz = 20000.0f;

// Row text of a row that has none; stored documents contain it.
extern const char* const EmptySlotMarker;
