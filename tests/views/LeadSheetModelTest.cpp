// The lead sheet without windows: generated text, paging, page geometry,
// the text boxes' rules and the formatting commands' character formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/LeadSheetModel.h"

namespace {

std::string Str(const CString& s) { return std::string(static_cast<const char*>(s)); }

std::string Join(const std::vector<CString>& pieces)
{
    std::string s;
    for (const CString& p : pieces)
        s += Str(p);
    return s;
}

// Boxes that hold a fixed number of lines; a box is full once its line
// breaks reach that number (as a rich edit box whose lines reach its
// bottom). Records how often fullness was asked.
class FakePages : public ILeadSheetPages {
public:
    explicit FakePages(int linesPerBox, size_t maxBoxes = 1000) : m_lines(linesPerBox), m_max(maxBoxes)
    {
        boxes.push_back("");
    }
    bool IsLastFull() override
    {
        ++asked;
        int breaks = 0;
        for (size_t i = 0; i + 1 < boxes.back().size(); ++i)
            if (boxes.back()[i] == '\r' && boxes.back()[i + 1] == '\n')
                ++breaks;
        return breaks >= m_lines;
    }
    bool CanAddPage() override { return boxes.size() < m_max; }
    void AddPage(const CString& text) override { boxes.push_back(Str(text)); }
    void AppendToLast(const CString& piece) override { boxes.back() += Str(piece); }
    CString LastText() override { return CString(boxes.back().c_str()); }
    void SetLastText(const CString& text) override { boxes.back() = Str(text); }

    std::vector<std::string> boxes;
    int asked = 0;

private:
    int m_lines;
    size_t m_max;
};

TEST(LeadSheetText, TitleThenChordAndLyricLinePerRow)
{
    EXPECT_EQ(Str(LeadSheetHeading("T")), "T\r\n\r\n");
    const std::vector<CString> chords = {"C\tG\tAm", "F", "G7\tC"};
    const std::vector<CString> lyrics = {"one", "two words", ""};
    const std::vector<CString> pieces = LeadSheetPieces(chords, lyrics);
    ASSERT_EQ(pieces.size(), 12u); // four pieces per row
    EXPECT_EQ(Str(LeadSheetHeading("T")) + Join(pieces),
              "T\r\n\r\n"
              "C\tG\tAm\r\none\r\n\r\n"
              "F\r\ntwo words\r\n\r\n"
              "G7\tC\r\n\r\n\r\n");
}

TEST(LeadSheetText, ARowWithOnlyOneOfItsLinesGetsTheOtherEmpty)
{
    EXPECT_TRUE(LeadSheetPieces({}, {}).empty());
    // No lyric edits (the grid was never shown): the chords still come.
    EXPECT_EQ(Join(LeadSheetPieces({"C", "G"}, {})), "C\r\n\r\n\r\nG\r\n\r\n\r\n");
    EXPECT_EQ(Join(LeadSheetPieces({"C"}, {"a", "b"})), "C\r\na\r\n\r\n\r\nb\r\n\r\n");
}

TEST(LeadSheetPaging, APieceThatMeetsAFullBoxStartsTheNextWhole)
{
    FakePages pages(3);
    pages.boxes[0] = Str(LeadSheetHeading("Song")); // two line breaks
    const std::vector<CString> pieces = LeadSheetPieces({"C\tG", "Am"}, {"first line", "second line"});
    for (const CString& p : pieces)
        AppendLeadSheetPiece(pages, p);
    EXPECT_EQ(pages.asked, static_cast<int>(pieces.size())); // asked before every piece
    ASSERT_EQ(pages.boxes.size(), 3u);
    // The first box took the chord line and its break, then was full: the
    // lyric piece opens the second box.
    EXPECT_EQ(pages.boxes[0], "Song\r\n\r\nC\tG\r\n");
    EXPECT_EQ(pages.boxes[1], "first line\r\n\r\nAm\r\n");
    EXPECT_EQ(pages.boxes[2], "second line\r\n\r\n");
    // Nothing lost or repeated.
    EXPECT_EQ(pages.boxes[0] + pages.boxes[1] + pages.boxes[2], "Song\r\n\r\n" + Join(pieces));
}

TEST(LeadSheetPaging, APieceIsNeverSplit)
{
    FakePages pages(3);
    pages.boxes[0] = "a\r\nb\r\n"; // one line left
    AppendLeadSheetPiece(pages, "1\r\n2\r\n3\r\n4\r\n");
    ASSERT_EQ(pages.boxes.size(), 1u); // runs past the box's lines
    EXPECT_EQ(pages.boxes[0], "a\r\nb\r\n1\r\n2\r\n3\r\n4\r\n");
    AppendLeadSheetPiece(pages, "x");
    ASSERT_EQ(pages.boxes.size(), 2u);
    EXPECT_EQ(pages.boxes[1], "x");
}

TEST(LeadSheetPaging, ABoxWithRoomTakesEveryPiece)
{
    FakePages pages(1000);
    for (const CString& p : LeadSheetPieces({"C", "G", "D"}, {"a", "b", "c"}))
        AppendLeadSheetPiece(pages, p);
    EXPECT_EQ(pages.boxes.size(), 1u);
}

TEST(LeadSheetPaging, FillingWholeBoxesPagesAsPieceByPiece)
{
    std::vector<CString> chords, lyrics;
    for (int r = 0; r < 40; ++r) {
        chords.push_back(r % 3 ? "C\tG" : "Am");
        lyrics.push_back(r % 4 ? "la la" : "one\r\ntwo"); // some rows take more lines
    }
    const std::vector<CString> pieces = LeadSheetPieces(chords, lyrics);
    for (int lines : {1, 2, 3, 7, 40, 1000}) {
        FakePages byPiece(lines), whole(lines);
        byPiece.boxes[0] = whole.boxes[0] = Str(LeadSheetHeading("Song"));
        for (const CString& p : pieces)
            AppendLeadSheetPiece(byPiece, p);
        FillLeadSheetPages(whole, pieces);
        EXPECT_EQ(whole.boxes, byPiece.boxes) << lines;
        if (lines >= 40)
            EXPECT_LT(whole.asked, byPiece.asked / 4) << lines;
    }
    // As many boxes as a lead sheet may have: the last takes the rest.
    FakePages byPiece(2, 3), whole(2, 3);
    for (const CString& p : pieces)
        AppendLeadSheetPiece(byPiece, p);
    FillLeadSheetPages(whole, pieces);
    ASSERT_EQ(whole.boxes.size(), 3u);
    EXPECT_EQ(whole.boxes, byPiece.boxes);
    EXPECT_EQ(whole.boxes[0] + whole.boxes[1] + whole.boxes[2], Join(pieces));
}

TEST(LeadSheetGeometry, PagesAtZoomsOnAScreenOf1280By1024)
{
    struct Case {
        float zoom;
        int fontHeight, margin;
        LeadSheetRect page0;
        int page1Top;
    } cases[] = {
        {0.3f, 7, 18, {467, 20, 813, 499}, 517},
        {0.6f, 14, 36, {294, 20, 986, 977}, 995},
        {0.9f, 21, 54, {121, 20, 1159, 1455}, 1473},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        const LeadSheetGeometry g = ComputeLeadSheetGeometry(1280, 1024, c.zoom, 1);
        EXPECT_EQ(g.viewWidth, 1280);
        EXPECT_EQ(g.pageWidth, 1152);
        EXPECT_EQ(g.pageHeight, 1593);
        EXPECT_EQ(g.fontHeight, c.fontHeight);
        EXPECT_EQ(LeadSheetMargin(c.zoom), c.margin);
        const LeadSheetRect p0 = LeadSheetPageRect(g, c.zoom, 0);
        EXPECT_EQ(p0.left, c.page0.left);
        EXPECT_EQ(p0.top, c.page0.top);
        EXPECT_EQ(p0.right, c.page0.right);
        EXPECT_EQ(p0.bottom, c.page0.bottom);
        // Pages are centred, stacked with 20-pixel gaps, and the box sits
        // inside its page by the margin.
        EXPECT_EQ(p0.left - 0, 1280 - p0.right);
        const LeadSheetRect p1 = LeadSheetPageRect(g, c.zoom, 1);
        EXPECT_EQ(p1.top, c.page1Top);
        EXPECT_EQ(p1.Height(), p0.Height());
        const LeadSheetRect b1 = LeadSheetBoxRect(g, c.zoom, 1);
        EXPECT_EQ(b1.left, p1.left + c.margin);
        EXPECT_EQ(b1.top, p1.top + c.margin);
        EXPECT_EQ(b1.right, p1.right - c.margin);
        EXPECT_EQ(b1.bottom, p1.bottom - c.margin);
        const LeadSheetRect fresh = LeadSheetNewBoxRect(g, c.zoom);
        EXPECT_EQ(fresh.left, 0);
        EXPECT_NEAR(fresh.Width(), b1.Width(), 2);
        EXPECT_NEAR(fresh.Height(), b1.Height(), 2);
    }
}

TEST(LeadSheetGeometry, ScrollHeightIsTheScreenUntilThePagesNeedMore)
{
    // One page at 0.6 (956 + 40) is shorter than the screen.
    EXPECT_EQ(ComputeLeadSheetGeometry(1280, 1024, 0.6f, 1).viewHeight, 1024);
    EXPECT_EQ(ComputeLeadSheetGeometry(1280, 1024, 0.6f, 0).viewHeight, 1024);
    // Two pages plus three 20-pixel gaps.
    EXPECT_EQ(ComputeLeadSheetGeometry(1280, 1024, 0.6f, 2).viewHeight, 1971);
    EXPECT_EQ(ComputeLeadSheetGeometry(1280, 1024, 0.9f, 3).viewHeight, 4381);
}

TEST(LeadSheetSizes, PastedRtfTakesTheSizesOfTheZoomItLandsAt)
{
    // Copied at 0.6 (a 12-point word shows as 7.2, RTF carries 7) and pasted at 0.9;
    // escaped text and binary data are not sizes.
    const std::string copied = "{\\rtf1\\f0\\fs14 Am\\b\\fs21 x\\\\fs99 {\\*\\p\\bin4 \\fs9}\\fs-3}";
    EXPECT_EQ(RtfAtZoom(copied, 0.6f, 0.9f),
              "{\\rtf1\\f0\\fs21 Am\\b\\fs32 x\\\\fs99 {\\*\\p\\bin4 \\fs9}\\fs-3}");
    // From another program: printed sizes.
    EXPECT_EQ(RtfAtZoom("\\fs24 a", 1.0f, 0.6f), "\\fs14 a");
    EXPECT_EQ(RtfAtZoom("\\fs24 a\\", 0.6f, 0.6f), "\\fs24 a\\");
}

TEST(LeadSheetSizes, ZoomingBackAndForthNeverDrifts)
{
    EXPECT_EQ(ZoomedTwips(kLeadSheetTextTwips, 0.6f), 180);
    EXPECT_EQ(UnzoomedTwips(180, 0.6f), 300);
    // Zoom steps as the document makes them (in double, stored in float),
    // each size rezoomed from the one before.
    for (long unzoomed : {300L, 240L, 130L, 710L}) {
        float zoom = 0.3f;
        long h = ZoomedTwips(unzoomed, zoom);
        for (int i = 0; i < 14; ++i) {
            const float old = zoom;
            zoom = static_cast<float>(static_cast<double>(zoom) + (i < 7 ? 0.1f : -0.1f));
            h = RezoomTwips(h, old, zoom);
            EXPECT_EQ(UnzoomedTwips(h, zoom), unzoomed) << unzoomed << " at " << zoom;
        }
    }
    // Earlier documents: the zoom their generated text tells, generated at
    // that zoom or zoomed to it.
    const std::vector<long> generated = {90, 120, 135, 180, 210, 240, 270, 315};
    EXPECT_FLOAT_EQ(GuessStoredZoom(135, generated), 0.5f);
    EXPECT_FLOAT_EQ(GuessStoredZoom(315, generated), 1.0f);
    EXPECT_FLOAT_EQ(GuessStoredZoom(150, generated), 0.5f);
    EXPECT_FLOAT_EQ(GuessStoredZoom(262, generated), 0.9f);
    EXPECT_EQ(GuessStoredZoom(400, generated), 0.0f);
}

TEST(TextBox, FullWhenTheLastLineReachesOneAndAHalfTextHeightsAboveTheBottom)
{
    // Bottom 100, text height 16: the last line may end at 76.
    EXPECT_FALSE(TextBoxIsFull(100, 16, 0)); // an empty box
    EXPECT_FALSE(TextBoxIsFull(100, 16, 59));
    EXPECT_TRUE(TextBoxIsFull(100, 16, 60));
    EXPECT_TRUE(TextBoxIsFull(10, 16, 0)); // a box too small for any line
}

TEST(TextBox, AWordIsARunOfNonBlanksOrOfBlanks)
{
    const CString line = "C\tG7  Em7/B\r";
    auto word = [&](int at) {
        int from = 0, to = 0;
        WordAt(line, at, from, to);
        return std::string(static_cast<const char*>(line.Mid(from, to - from)));
    };
    EXPECT_EQ(word(0), "C");
    EXPECT_EQ(word(3), "G7");
    EXPECT_EQ(word(5), "  ");
    EXPECT_EQ(word(9), "Em7/B");
    EXPECT_EQ(word(12), "Em7/B"); // right of the line's end
    EXPECT_EQ(word(40), "Em7/B");
    int from = -1, to = -1;
    WordAt("\r", 0, from, to);
    EXPECT_EQ(from, to);
}

TEST(TextBox, PageBoundaryKeys)
{
    // Formatting rectangle from (1, 0) down to 500, text height 16: the
    // last lines start at 500 - 33.6, the first ends at 8.
    const unsigned kReturn = 0x0D, kBack = 0x08, kUp = 0x26, kDown = 0x28, kA = 0x41;
    struct Case {
        unsigned key;
        bool extended, empty;
        int x, y;
        int code;
        const char* what;
    } cases[] = {
        {kReturn, false, false, 40, 467, kNavNextPage, "Return on the last lines"},
        {kReturn, false, false, 40, 466, -1, "Return on an earlier line"},
        {kDown, false, false, 40, 480, -1, "the keypad's Down"},
        {kDown, true, false, 40, 480, kNavNextPage, "Down on the last lines"},
        {kBack, false, true, 1, 0, kNavEmptyBox, "Backspace in an empty box"},
        {kUp, true, true, 1, 0, kNavEmptyBox, "Up in an empty box"},
        {kBack, false, false, 1, 8, kNavPreviousPage, "Backspace at the very start"},
        {kBack, false, false, 1, 9, -1, "Backspace at the start of the second line"},
        {kBack, false, false, 7, 0, -1, "Backspace after the first character"},
        {kUp, false, false, 1, 0, -1, "the keypad's Up"},
        {kUp, true, false, 1, 0, kNavPreviousPage, "Up at the very start"},
        {kA, false, true, 40, 490, -1, "any other key"},
    };
    for (const Case& c : cases) {
        const TextBoxKey k = {c.key, c.extended, c.empty, c.x, c.y, 1, 0, 500, 16};
        EXPECT_EQ(TextBoxKeyCode(k), c.code) << c.what;
    }
}

TEST(Formatting, FontDialogHeightsAndWeights)
{
    // 10.5 points at 96 pixels per inch is a 14-pixel character height.
    EXPECT_EQ(TwipsToFontHeight(210, 96), -14);
    EXPECT_EQ(TwipsToFontHeight(240, 96), -16);
    // Back: 14 pixels are 10.5 points, rounded away from zero to 11.
    EXPECT_EQ(FontHeightToTwips(-14, 96), 220);
    EXPECT_EQ(FontHeightToTwips(-16, 96), 240);
    EXPECT_EQ(FontHeightToTwips(-16, 0), 20); // no device: MulDiv's -1

    EXPECT_EQ(MulDivRound(1, 1, 2), 1);
    EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
    EXPECT_EQ(MulDivRound(5, 3, -2), -8);
    EXPECT_EQ(MulDivRound(1, 1, 0), -1);
    EXPECT_EQ(MulDivRound(0x40000000, 4, 1), -1);

    EXPECT_FALSE(WeightIsBold(600));
    EXPECT_TRUE(WeightIsBold(650));
    EXPECT_TRUE(WeightIsBold(700));
}

} // namespace
