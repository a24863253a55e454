#include <gtest/gtest.h>

#include "app/PanelZones.h"

namespace {
const PanelGeometry g = MakePanelGeometry(10, 11, 18, 9);
}

TEST(PanelZones, EachZoneAtItsCentre)
{
    struct { int x, y; PanelZone zone; } cases[] = {
        {46, 13, PanelZone::Open},     {46, 33, PanelZone::Analyze}, {46, 53, PanelZone::Transpose},
        {110, 52, PanelZone::Loop},    {150, 52, PanelZone::Back},   {188, 52, PanelZone::Forward},
        {227, 52, PanelZone::Stop},    {264, 52, PanelZone::Play},   {190, 10, PanelZone::TimeTrack},
        {300, 30, PanelZone::VolumeTrack}, {140, 25, PanelZone::None}, {5, 70, PanelZone::None}};
    for (const auto& c : cases)
        EXPECT_EQ(c.zone, ClickedZone(g, c.x, c.y, true)) << c.x << "," << c.y;
}

TEST(PanelZones, WithoutASongOnlyTheCommandsAnswer)
{
    EXPECT_EQ(PanelZone::None, ClickedZone(g, 264, 52, false));
    EXPECT_EQ(PanelZone::None, ClickedZone(g, 110, 52, false));
    EXPECT_EQ(PanelZone::None, ClickedZone(g, 190, 10, false));
    EXPECT_EQ(PanelZone::None, ClickedZone(g, 300, 30, false));
    EXPECT_EQ(PanelZone::Stop, ClickedZone(g, 227, 52, false));
    EXPECT_EQ(PanelZone::Open, ClickedZone(g, 46, 13, false));
    EXPECT_EQ(PanelZone::Back, ClickedZone(g, 150, 52, false));
}

TEST(PanelZones, OverlapsGoToTheEarlierRule)
{
    // Back and Forward share 168..170: Forward is tested first.
    EXPECT_EQ(PanelZone::Forward, ClickedZone(g, 169, 52, true));
    // Stop and Play share x 246: Play first, with a song.
    EXPECT_EQ(PanelZone::Play, ClickedZone(g, 246, 52, true));
    EXPECT_EQ(PanelZone::Stop, ClickedZone(g, 246, 52, false));
    // Loop and Back share 130..133: Back first.
    EXPECT_EQ(PanelZone::Back, ClickedZone(g, 131, 52, true));
}

TEST(PanelZones, KnobsStartAtTheirTracksEnds)
{
    EXPECT_EQ(94, g.timeKnob.left);
    EXPECT_EQ(104, g.timeKnob.right);
    EXPECT_EQ(16, g.timeTrack.bottom);
    EXPECT_EQ(62, g.volumeKnob.bottom);
    EXPECT_EQ(53, g.volumeKnob.top);
    EXPECT_EQ(309, g.volumeTrack.right);
}
