#pragma once
// Arithmetic of the transport panel's two knobs and its time text. All
// coordinates are client pixels; levels are 0..0xFFFF. Portable.

#include "framework/CString.h"

// One knob's extent along its track after a drag or a click.
struct KnobSpan {
    int lo;     // top (volume) or left (time)
    int hi;     // bottom or right
    int centre; // (lo + hi) / 2
};

constexpr int MaxVolumeLevel = 0xFFFF;

// Volume knob following the cursor's y: the bottom is kept on the track,
// then the top.
KnobSpan PlaceVolumeKnob(int y, int trackTop, int trackBottom, int knobHeight);
// Time knob following the cursor's x: the left is kept on the track, then
// the right (at the far right the span narrows).
KnobSpan PlaceTimeKnob(int x, int trackLeft, int trackRight, int knobWidth);

// Level of a volume-knob centre: top of the travel is full volume. A knob
// that fills its whole track has no travel and gives full volume.
int VolumeLevelFromKnob(int knobCentre, int trackTop, int trackBottom, int knobHeight);
// Inverse: the knob centre for a level.
int VolumeKnobCentreFromLevel(int level, int trackTop, int trackBottom, int knobHeight);

// Song position in ms for a time-knob centre; 0 without travel or song.
int SeekPositionFromKnob(int knobCentre, int trackLeft, int trackRight, int knobWidth,
                         int songLengthMs);
// Time-knob centre for a position, kept on the track; the track's start
// without a song.
int TimeKnobCentreFromPosition(int positionMs, int songLengthMs, int trackLeft, int trackRight,
                               int knobWidth);

// "mm:ss:t" (minutes at least two digits, tenths of a second last).
CString FormatTimeText(int positionMs);
