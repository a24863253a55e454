#include "app/PanelZones.h"

PanelGeometry MakePanelGeometry(int timeKnobWidth, int timeKnobHeight, int volumeKnobWidth, int volumeKnobHeight)
{
    PanelGeometry g;
    g.open = {9, 4, 84, 23};
    g.analyze = {9, 24, 84, 43};
    g.transpose = {9, 44, 84, 63};
    g.loop = {93, 37, 133, 67};
    g.back = {130, 37, 170, 67};
    g.forward = {168, 37, 208, 67};
    g.stop = {207, 37, 247, 67};
    g.play = {246, 37, 283, 67};
    g.timeText = {95, 18, 184, 31};
    g.timeTrack = {94, 5, 284, 5 + timeKnobHeight};
    g.volumeTrack = {291, 7, 291 + volumeKnobWidth, 62};
    g.timeKnob = {94, 5, 94 + timeKnobWidth, 5 + timeKnobHeight};
    g.volumeKnob = {291, 62 - volumeKnobHeight, 291 + volumeKnobWidth, 62};
    g.timeLeft = 94;
    g.timeRight = 284;
    g.volumeTop = 7;
    g.volumeBottom = 62;
    return g;
}

PanelZone ClickedZone(const PanelGeometry& g, int x, int y, bool songLoaded)
{
    if (songLoaded && g.play.Contains(x, y))
        return PanelZone::Play;
    if (g.stop.Contains(x, y))
        return PanelZone::Stop;
    if (songLoaded && g.timeTrack.Contains(x, y))
        return PanelZone::TimeTrack;
    if (songLoaded && g.volumeTrack.Contains(x, y))
        return PanelZone::VolumeTrack;
    if (g.open.Contains(x, y))
        return PanelZone::Open;
    if (g.analyze.Contains(x, y))
        return PanelZone::Analyze;
    if (g.transpose.Contains(x, y))
        return PanelZone::Transpose;
    if (g.forward.Contains(x, y))
        return PanelZone::Forward;
    if (g.back.Contains(x, y))
        return PanelZone::Back;
    if (songLoaded && g.loop.Contains(x, y))
        return PanelZone::Loop;
    return PanelZone::None;
}
