#pragma once
// The transport panel's zones in its face bitmap and which of them a click
// lands on. Portable.

struct PanelRect {
    int left, top, right, bottom;
    // Right and bottom edges are outside, as for window rectangles.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

enum class PanelZone { None, Play, Stop, TimeTrack, VolumeTrack, Open, Analyze, Transpose, Forward, Back, Loop };

struct PanelGeometry {
    PanelRect open, analyze, transpose, loop, back, forward, stop, play, timeText, timeTrack, volumeTrack;
    PanelRect timeKnob, volumeKnob; // where the knobs start
    int timeLeft, timeRight;        // time-track limits
    int volumeTop, volumeBottom;    // volume-track limits
};

// The layout for knob bitmaps of the given sizes.
PanelGeometry MakePanelGeometry(int timeKnobWidth, int timeKnobHeight, int volumeKnobWidth, int volumeKnobHeight);

// The zone a left-button press acts on: the first rule that matches, in the
// panel's order (overlapping zones go to the earlier one). Play, the two
// tracks and Loop count only with a song loaded.
PanelZone ClickedZone(const PanelGeometry& g, int x, int y, bool songLoaded);
