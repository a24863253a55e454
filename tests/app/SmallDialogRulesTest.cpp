#include <gtest/gtest.h>

#include <string>

#include "app/SmallDialogRules.h"

namespace {
std::string Lines(const char* hint)
{
    std::string s;
    for (const CString& n : SplitNoteNames(hint))
        s += std::string(n.GetString()) + "|";
    return s;
}
} // namespace

TEST(ToolsPanelHint, SplitsIntoNoteNamesOnePerLine)
{
    EXPECT_EQ("C#|E|G|", Lines("C#EG"));
    EXPECT_EQ("Bb|", Lines("Bb"));
    EXPECT_EQ("A|Bb|B|C|C#|D|D#|E|F|F#|G|G#|", Lines("ABbBCC#DD#EFF#GG#"));
    EXPECT_EQ("Eb|Ab|A#|", Lines("EbAbA#"));
    EXPECT_EQ("", Lines(""));
    // A trailing letter alone is still a name.
    EXPECT_EQ("D|F#|A|", Lines("DF#A"));
}

TEST(ToolsPanelRows, TopRowIsModeTwoThenZeroThenOne)
{
    EXPECT_EQ(2, OptionRowMode(0));
    EXPECT_EQ(0, OptionRowMode(1));
    EXPECT_EQ(1, OptionRowMode(2));
    EXPECT_EQ(-1, OptionRowMode(3));
    EXPECT_EQ(139, OptionRowText(0));
    EXPECT_EQ(79, OptionRowText(1));
    EXPECT_EQ(80, OptionRowText(2));
}

TEST(ToolsPanelDrag, FollowsFromTheFifthMoveKeepingTheGrabPoint)
{
    PanelDrag drag;
    drag.Grab(30, 12);
    int left = -1, top = -1;
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(drag.Move(true, 500 + i, 300, left, top)) << i;
    ASSERT_TRUE(drag.Move(true, 510, 305, left, top));
    EXPECT_EQ(480, left);
    EXPECT_EQ(293, top);

    // Any other button state starts the count again.
    EXPECT_FALSE(drag.Move(false, 520, 305, left, top));
    EXPECT_EQ(0, drag.Count());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(drag.Move(true, 520, 305, left, top));
    EXPECT_TRUE(drag.Move(true, 520, 305, left, top));
}

TEST(SettingsRanges, SecondsThreeToTenRowsThreeToNine)
{
    EXPECT_TRUE(IsRowSecondsAccepted(3));
    EXPECT_TRUE(IsRowSecondsAccepted(10));
    EXPECT_FALSE(IsRowSecondsAccepted(2));
    EXPECT_FALSE(IsRowSecondsAccepted(11));
    EXPECT_TRUE(IsRowsPerPageAccepted(3));
    EXPECT_TRUE(IsRowsPerPageAccepted(9));
    EXPECT_FALSE(IsRowsPerPageAccepted(2));
    EXPECT_FALSE(IsRowsPerPageAccepted(10));
}

TEST(SettingsDevice, NothingSelectedKeepsTheDeviceInUse)
{
    EXPECT_EQ(2, SoundCardAfterSettings(2, 0));
    EXPECT_EQ(0, SoundCardAfterSettings(0, 3));
    EXPECT_EQ(3, SoundCardAfterSettings(-1, 3));
    EXPECT_EQ(-1, SoundCardAfterSettings(-1, -1));
}

TEST(TransposeLimits, StepsStopAtElevenEitherWay)
{
    EXPECT_EQ(11, StepTranspose(11, 1));
    EXPECT_EQ(11, StepTranspose(10, 1));
    EXPECT_EQ(-11, StepTranspose(-11, -1));
    EXPECT_EQ(-10, StepTranspose(-11, 1));
    // A typed value out of range comes back within it on the next step.
    EXPECT_EQ(11, StepTranspose(40, 1));
    EXPECT_EQ(-11, StepTranspose(-40, -1));
    EXPECT_TRUE(IsTransposeAccepted(-11));
    EXPECT_TRUE(IsTransposeAccepted(11));
    EXPECT_FALSE(IsTransposeAccepted(12));
    EXPECT_FALSE(IsTransposeAccepted(-12));
}

TEST(CaptionFit, TakesTheLargestHeightThatFits)
{
    auto width = [](int h) { return h * 7; }; // 7 pixels of text per pixel of height
    EXPECT_EQ(13, FitFontHeight(13, 8, 100, width));
    EXPECT_EQ(10, FitFontHeight(13, 8, 75, width));
    EXPECT_EQ(8, FitFontHeight(13, 8, 20, width)); // the smallest when none fits
}
