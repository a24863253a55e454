#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/SheetLayout.h"

namespace {

// Font 0: 10 units a character, lines 20 high; font 1: 15 a character,
// lines 30 high.
FontMeasure Fixed()
{
    FontMeasure m;
    m.width = [](const std::string& s, int font) { return static_cast<int>(s.size()) * (font ? 15 : 10); };
    m.height = [](int font) { return font ? 30 : 20; };
    m.ascent = [](int font) { return font ? 24 : 16; };
    return m;
}

// The text of each line of a sheet, pieces joined as placed.
std::vector<std::string> Lines(const LaidSheet& sheet)
{
    std::vector<std::string> out;
    for (const LaidLine& l : sheet.lines) {
        std::string s;
        for (const PlacedText& p : l.pieces)
            s += p.text;
        out.push_back(s);
    }
    return out;
}

TEST(SheetLayout, WrapsAtSpacesAndKeepsParagraphsAndEmptyLines)
{
    const FontMeasure m = Fixed();
    // 10 characters a line.
    const auto sheets = LayoutSheets({{"one two three four\r\n\r\nfive", 0}}, m, 100, 1000, 80);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(Lines(sheets[0]), (std::vector<std::string>{"one two ", "three four", "", "five"}));
    // Lines follow each other by their heights; the wrapped line starts at 0.
    const auto& lines = sheets[0].lines;
    EXPECT_EQ(lines[1].top, 20);
    EXPECT_EQ(lines[3].top, 60);
    EXPECT_EQ(lines[1].pieces.front().x, 0);
    EXPECT_EQ(lines[1].pieces.back().x, 60); // "four" after "three "
    // A CR alone, an LF alone and CR LF are one break each.
    EXPECT_EQ(Lines(LayoutSheets({{"a\rb\nc\r\nd", 0}}, m, 100, 1000, 80)[0]),
              (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(SheetLayout, LeadingSpacesStayOnlyAtTheStartOfAParagraph)
{
    const FontMeasure m = Fixed();
    const auto sheets = LayoutSheets({{"  indented words wrap   here", 0}}, m, 100, 1000, 80);
    const auto lines = Lines(sheets[0]);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("  indented", 0), 0u);
    EXPECT_EQ(lines[1].rfind("words", 0), 0u);
    EXPECT_EQ(lines[2], "here");
}

TEST(SheetLayout, AWordWiderThanALineIsBrokenWhereItMust)
{
    const FontMeasure m = Fixed();
    const auto lines = Lines(LayoutSheets({{"ab abcdefghijklmnopqrstuvwxy z", 0}}, m, 100, 1000, 80)[0]);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab ", "abcdefghij", "klmnopqrst", "uvwxy z"}));
}

TEST(SheetLayout, TabsGoToTheNextStopAndWrapPastTheLine)
{
    const FontMeasure m = Fixed();
    // Chord lines: names separated by tabs, stops every 40.
    const auto sheets = LayoutSheets({{"C\tG\tAm7\tF", 0}}, m, 115, 1000, 40);
    const auto& line = sheets[0].lines[0];
    ASSERT_EQ(line.pieces.size(), 3u);
    EXPECT_EQ(line.pieces[0].x, 0);
    EXPECT_EQ(line.pieces[1].x, 40);
    EXPECT_EQ(line.pieces[2].x, 80);
    // The third tab's stop (120) lies past the line: the tab starts the
    // next line and F stands at its first stop.
    ASSERT_EQ(sheets[0].lines.size(), 2u);
    EXPECT_EQ(Lines(sheets[0])[1], "F");
    EXPECT_EQ(sheets[0].lines[1].pieces[0].x, 40);
    // A text exactly on a stop moves on to the following stop.
    EXPECT_EQ(LayoutSheets({{"abcd\tx", 0}}, m, 100, 1000, 40)[0].lines[0].pieces[1].x, 80);
    // Without stops a tab is a space wide.
    EXPECT_EQ(LayoutSheets({{"a\tb", 0}}, m, 100, 1000, 0)[0].lines[0].pieces[1].x, 20);
}

TEST(SheetLayout, MixedFontsShareALineAtItsTallestHeight)
{
    const FontMeasure m = Fixed();
    // "big" in font 1 inside a word of font 0: one word, measured whole.
    const auto sheets = LayoutSheets({{"small ", 0}, {"BIG", 1}, {"ger next\r", 0}, {"x", 0}}, m, 140, 1000, 80);
    const auto& lines = sheets[0].lines;
    ASSERT_EQ(Lines(sheets[0]), (std::vector<std::string>{"small BIGger ", "next", "x"}));
    EXPECT_EQ(lines[0].height, 30);
    EXPECT_EQ(lines[0].ascent, 24);
    EXPECT_EQ(lines[0].pieces[2].font, 1); // after "small" and its space
    EXPECT_EQ(lines[0].pieces[3].x, 60 + 45);
    EXPECT_EQ(lines[1].top, 30);
    EXPECT_EQ(lines[1].height, 20);
    // "BIGger" (45 + 30) does not fit after "small " in 100: the whole word wraps.
    EXPECT_EQ(Lines(LayoutSheets({{"small ", 0}, {"BIG", 1}, {"ger", 0}}, m, 100, 1000, 80)[0]),
              (std::vector<std::string>{"small ", "BIGger"}));
}

TEST(SheetLayout, LinesFillSheetsAndAnEmptyTextIsOneBlankSheet)
{
    const FontMeasure m = Fixed();
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "line " + std::to_string(i) + "\r";
    // 100 high holds 5 lines of 20.
    const auto sheets = LayoutSheets({{text, 0}}, m, 100, 100, 80);
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].lines.size(), 5u);
    EXPECT_EQ(sheets[1].lines.front().top, 0);
    EXPECT_EQ(Lines(sheets[1]).front(), "line 5");
    EXPECT_EQ(Lines(sheets[2]).back(), "line 11");
    // A line taller than a sheet still goes somewhere, one to a sheet.
    const auto tall = LayoutSheets({{"a\rb", 1}}, m, 100, 25, 80);
    ASSERT_EQ(tall.size(), 2u);
    EXPECT_EQ(tall[1].lines.size(), 1u);

    const auto empty = LayoutSheets({}, m, 100, 100, 80);
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty[0].lines.empty());
}

} // namespace
