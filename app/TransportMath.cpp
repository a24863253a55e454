#include "app/TransportMath.h"

KnobSpan PlaceVolumeKnob(int y, int trackTop, int trackBottom, int knobHeight)
{
    KnobSpan s;
    s.hi = y + knobHeight / 2;
    if (s.hi > trackBottom)
        s.hi = trackBottom;
    s.lo = s.hi - knobHeight;
    if (s.lo < trackTop) {
        s.lo = trackTop;
        s.hi = s.lo + knobHeight;
    }
    s.centre = (s.lo + s.hi) / 2;
    return s;
}

KnobSpan PlaceTimeKnob(int x, int trackLeft, int trackRight, int knobWidth)
{
    KnobSpan s;
    s.lo = x - knobWidth / 2;
    if (s.lo < trackLeft)
        s.lo = trackLeft;
    s.hi = s.lo + knobWidth;
    if (s.hi > trackRight)
        s.hi = trackRight;
    if (s.hi < s.lo) // a knob wider than its track
        s.hi = s.lo;
    s.centre = (s.lo + s.hi) / 2;
    return s;
}

int VolumeLevelFromKnob(int knobCentre, int trackTop, int trackBottom, int knobHeight)
{
    long long travel = (long long)trackBottom - trackTop - knobHeight;
    if (travel <= 0)
        return MaxVolumeLevel;
    long long level = ((long long)trackBottom - knobHeight / 2 - knobCentre) * MaxVolumeLevel / travel;
    if (level < 0)
        return 0;
    if (level > MaxVolumeLevel)
        return MaxVolumeLevel;
    return (int)level;
}

int VolumeKnobCentreFromLevel(int level, int trackTop, int trackBottom, int knobHeight)
{
    if (level < 0)
        level = 0;
    if (level > MaxVolumeLevel)
        level = MaxVolumeLevel;
    long long travel = (long long)trackBottom - trackTop - knobHeight;
    if (travel <= 0)
        return trackTop + knobHeight / 2;
    return (int)(trackBottom - knobHeight / 2 - travel * level / MaxVolumeLevel);
}

int SeekPositionFromKnob(int knobCentre, int trackLeft, int trackRight, int knobWidth,
                         int songLengthMs)
{
    long long travel = (long long)trackRight - trackLeft - knobWidth;
    if (travel <= 0 || songLengthMs <= 0)
        return 0;
    long long pos = ((long long)knobCentre - trackLeft - knobWidth / 2) * songLengthMs / travel;
    if (pos < 0)
        return 0;
    // Past the end is left to the document, which clamps; only keep it an int.
    if (pos > 0x7FFFFFFF)
        return 0x7FFFFFFF;
    return (int)pos;
}

int TimeKnobCentreFromPosition(int positionMs, int songLengthMs, int trackLeft, int trackRight,
                               int knobWidth)
{
    int lo = trackLeft + knobWidth / 2;
    int hi = trackRight - knobWidth / 2;
    if (songLengthMs <= 0 || hi < lo)
        return lo;
    if (positionMs < 0)
        positionMs = 0;
    if (positionMs > songLengthMs)
        positionMs = songLengthMs;
    double travel = (double)trackRight - trackLeft - knobWidth;
    double offset = travel * positionMs / songLengthMs;
    long long c = (long long)offset + lo;
    if (c < lo)
        return lo;
    if (c > hi)
        return hi;
    return (int)c;
}

CString FormatTimeText(int positionMs)
{
    if (positionMs < 0)
        positionMs = 0;
    int minutes = positionMs / 60000;
    int rest = positionMs - minutes * 60000;
    int seconds = rest / 1000;
    int tenths = (rest - seconds * 1000) / 100;
    CString s;
    s.Format("%02d:%02d:%d", minutes, seconds, tenths);
    return s;
}
