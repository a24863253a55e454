#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

#include "app/DocFile.h"

namespace {

DocFileBody Sample()
{
    DocFileBody b;
    b.audioPresent = true;
    b.currentView = 2;
    b.transpose = -3;
    b.pageCount = 4;
    b.tuning = 443.5f;
    b.key = "Em";
    b.leadSheetStale = true;
    b.audioPath = "C:\\songs\\take one.wav";
    b.chordsPresent = true;
    b.lyrics = {"first line", "", "third"};
    for (int i = 0; i < 3; ++i) {
        ChordEntry c;
        c.root = 3 + i;
        c.time = 1000 * i;
        c.bass = i == 1 ? 7 : -1;
        c.name.Format("N%d", i);
        c.major = i != 2;
        c.suffix = i == 0 ? "7" : "";
        c.confidence = 80 + 20 * i;
        c.visible = i % 2;
        b.chords.push_back(c);
    }
    for (int i = 0; i < 2; ++i) {
        BassNote n;
        n.pitch = 5 + i;
        n.time = 500 * i;
        n.octave = 1 + i;
        n.placement = i ? (7 << 16) | 2 : -1;
        n.level = 61 + i;
        n.visible = i;
        b.bass.push_back(n);
    }
    b.pairCodes = {0x35, 0xCC};
    b.pairTimes = {10, 20};
    b.setCodes = {0xCCC735};
    b.setTimes = {30};
    b.totalLength = 26000;
    b.title = "Take one";
    b.rowTexts = {"G\tC", EmptySlotMarker, "D"};
    return b;
}

std::vector<unsigned char> Write(const DocFileBody& b)
{
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    WriteDocFile(ar, b);
    ar.Flush();
    return f.Data();
}

int Read(const std::vector<unsigned char>& bytes, DocFileBody& out)
{
    CMemFile f(bytes.data(), bytes.size());
    CArchive ar(&f, CArchive::load);
    return ReadDocFile(ar, out);
}

// Builds a file by hand, value by value.
std::vector<unsigned char> Build(const std::function<void(CArchive&)>& fill)
{
    CMemFile f;
    CArchive ar(&f, CArchive::store);
    fill(ar);
    ar.Flush();
    return f.Data();
}

TEST(DocFile, WritesLayout20ByteForByte)
{
    DocFileBody b;
    b.audioPresent = true;
    b.tuning = 440.0f;
    b.key = "G";
    ChordEntry c;
    c.root = 10;
    c.name = "G";
    c.confidence = 90;
    b.chords.push_back(c);
    b.title = "T";
    const std::vector<unsigned char> expected = {
        20, 0, 0, 0,             // layout
        1,                       // audio present
        1, 0, 0, 0,              // current view
        0, 0, 0, 0,              // transposition
        0, 0, 0, 0,              // page count
        0x00, 0x00, 0xDC, 0x43,  // 440.0f
        1, 'G',                  // key
        0,                       // lead sheet stale
        0,                       // audio path
        0,                       // chords present
        0, 0, 0, 0,              // lyrics
        1, 0, 0, 0, 1, 'G',      // chord names
        1, 0, 0, 0, 10, 0, 0, 0, // roots
        1, 0, 0, 0, 0, 0, 0, 0,  // times
        1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, // basses
        0, 0, 0, 0,              // bass octaves
        0, 0, 0, 0,              // placements
        0, 0, 0, 0,              // bass times
        0, 0, 0, 0, 0, 0, 0, 0,  // pitch pairs, times
        0, 0, 0, 0, 0, 0, 0, 0,  // pitch sets, times
        1, 0, 0, 0, 0,           // suffixes
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // bass pitch, visible, level
        1, 0, 0, 0, 1,           // major flags
        1, 0, 0, 0, 1, 0, 0, 0,  // visible flags
        1, 0, 0, 0, 90, 0, 0, 0, // confidences
        0, 0, 0, 0,              // total length
        1, 'T',                  // title
        0, 0, 0, 0,              // row texts
    };
    EXPECT_EQ(expected, Write(b));
}

TEST(DocFile, Layout20RoundTripKeepsEveryField)
{
    const DocFileBody b = Sample();
    DocFileBody r;
    ASSERT_EQ(20, Read(Write(b), r));
    EXPECT_EQ(b.audioPresent, r.audioPresent);
    EXPECT_EQ(b.currentView, r.currentView);
    EXPECT_EQ(b.transpose, r.transpose);
    EXPECT_EQ(b.pageCount, r.pageCount);
    EXPECT_EQ(b.tuning, r.tuning);
    EXPECT_EQ(b.key, r.key);
    EXPECT_TRUE(r.keyRead);
    EXPECT_EQ(b.leadSheetStale, r.leadSheetStale);
    EXPECT_EQ(b.audioPath, r.audioPath);
    EXPECT_EQ(b.chordsPresent, r.chordsPresent);
    EXPECT_EQ(b.lyrics, r.lyrics);
    ASSERT_EQ(b.chords.size(), r.chords.size());
    for (size_t i = 0; i < b.chords.size(); ++i) {
        const ChordEntry &x = b.chords[i], &y = r.chords[i];
        EXPECT_EQ(x.root, y.root);
        EXPECT_EQ(x.time, y.time);
        EXPECT_EQ(x.bass, y.bass);
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.major, y.major);
        EXPECT_EQ(x.suffix, y.suffix);
        EXPECT_EQ(x.confidence, y.confidence);
        EXPECT_EQ(x.visible, y.visible);
    }
    ASSERT_EQ(b.bass.size(), r.bass.size());
    for (size_t i = 0; i < b.bass.size(); ++i) {
        const BassNote &x = b.bass[i], &y = r.bass[i];
        EXPECT_EQ(x.pitch, y.pitch);
        EXPECT_EQ(x.time, y.time);
        EXPECT_EQ(x.octave, y.octave);
        EXPECT_EQ(x.placement, y.placement);
        EXPECT_EQ(x.level, y.level);
        EXPECT_EQ(x.visible, y.visible);
    }
    EXPECT_EQ(b.pairCodes, r.pairCodes);
    EXPECT_EQ(b.pairTimes, r.pairTimes);
    EXPECT_EQ(b.setCodes, r.setCodes);
    EXPECT_EQ(b.setTimes, r.setTimes);
    EXPECT_EQ(b.totalLength, r.totalLength);
    EXPECT_EQ(b.title, r.title);
    EXPECT_EQ(b.rowTexts, r.rowTexts); // the empty-slot marker stays as it is
}

TEST(DocFile, OlderLayoutsReadWithTheirDefaults)
{
    // Layout 18: chords and notes get confidence/level 100 and visible 1,
    // every row text an empty lyric line.
    const auto l18 = Build([](CArchive& ar) {
        ar << int32_t(18) << true << int32_t(1) << false << int32_t(2) << int32_t(3) << 441.0f << CString("D")
           << false << CString("a.wav") << true;
        ar << int32_t(1) << CString("Dm");                       // chord names
        ar << int32_t(1) << int32_t(5) << int32_t(1) << int32_t(40) << int32_t(1) << int32_t(-1);
        ar << int32_t(1) << int32_t(2);                          // bass octaves
        ar << int32_t(1) << int32_t(-1) << int32_t(1) << int32_t(50);
        for (int i = 0; i < 4; ++i)
            ar << int32_t(0);                                    // pitch lists
        ar << int32_t(1) << CString("");                         // suffixes
        ar << int32_t(1) << int32_t(5);                          // bass pitch
        ar << int32_t(1) << false;                               // major
        ar << int32_t(9000) << CString("Old") << int32_t(2) << CString("Dm") << CString("");
    });
    DocFileBody r;
    ASSERT_EQ(18, Read(l18, r));
    EXPECT_TRUE(r.chordsPresent);
    EXPECT_EQ(2, r.transpose);
    EXPECT_EQ(CString("D"), r.key);
    ASSERT_EQ(1u, r.chords.size());
    EXPECT_EQ(100, r.chords[0].confidence);
    EXPECT_EQ(1, r.chords[0].visible);
    EXPECT_FALSE(r.chords[0].major);
    EXPECT_EQ(40, r.chords[0].time);
    ASSERT_EQ(1u, r.bass.size());
    EXPECT_EQ(100, r.bass[0].level);
    EXPECT_EQ(1, r.bass[0].visible);
    EXPECT_EQ(5, r.bass[0].pitch);
    EXPECT_EQ(2u, r.rowTexts.size());
    EXPECT_EQ(2u, r.lyrics.size());
    EXPECT_TRUE(r.lyrics[0].IsEmpty());
    EXPECT_EQ(9000, r.totalLength);

    // Layout 0: no key, audio present from the file's flag, row records.
    const auto l0 = Build([](CArchive& ar) {
        ar << int32_t(0) << true;                                // layout, audio present
        ar << int32_t(1) << true << int32_t(0) << int32_t(1) << 440.0f;
        ar << int32_t(1) << CString("skipped");
        ar << false << CString("b.wav") << true;
        ar << int32_t(0);                                        // no chords
        for (int i = 0; i < 3; ++i)
            ar << int32_t(0);
        ar << int32_t(1) << int32_t(1);                          // one bass note
        ar << int32_t(0) << int32_t(0);
        for (int i = 0; i < 4; ++i)
            ar << int32_t(0);
        ar << int32_t(0);                                        // suffixes
        ar << int32_t(1) << int32_t(9);                          // bass pitch
        ar << int32_t(0);                                        // major
        ar << int32_t(12000) << CString("Oldest");
        ar << int32_t(2);                                        // N
        ar << int32_t(0) << CString("row one") << int32_t(2) << CString("x");
        ar << int32_t(0) << CString("row two") << int32_t(2) << CString("y");
        ar << int32_t(1) << int32_t(4) << CString("z") << int32_t(0);
    });
    DocFileBody z;
    z.key = "kept";
    ASSERT_EQ(0, Read(l0, z));
    EXPECT_TRUE(z.audioPresent);
    EXPECT_FALSE(z.keyRead);
    EXPECT_EQ(CString("kept"), z.key);
    EXPECT_EQ((std::vector<CString>{"row one", "row two"}), z.rowTexts);
    EXPECT_EQ(2u, z.lyrics.size());
    ASSERT_EQ(1u, z.bass.size());
    EXPECT_EQ(100, z.bass[0].level);
    EXPECT_EQ(9, z.bass[0].pitch);
    EXPECT_EQ(CString("Oldest"), z.title);
}

TEST(DocFile, UnknownLayoutsReadNothing)
{
    DocFileBody r;
    EXPECT_EQ(-1, Read(Build([](CArchive& ar) { ar << int32_t(19) << true; }), r));
    EXPECT_FALSE(r.audioPresent);
    EXPECT_EQ(-1, Read(Build([](CArchive& ar) { ar << int32_t(21); }), r));
}

TEST(DocFile, BrokenFilesAreRefusedWhereverTheyEnd)
{
    const std::vector<unsigned char> good = Write(Sample());
    for (size_t cut = 0; cut < good.size(); ++cut) {
        std::vector<unsigned char> part(good.begin(), good.begin() + static_cast<long>(cut));
        DocFileBody r;
        bool refused = false;
        try {
            Read(part, r);
        } catch (CException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused) << "cut at " << cut;
    }
}

TEST(DocFile, DamagedCountsAreRefused)
{
    // A later column longer than the records of its kind.
    const auto longer = Build([](CArchive& ar) {
        ar << int32_t(20) << true << int32_t(1) << int32_t(0) << int32_t(0) << 440.0f << CString("") << false
           << CString("") << false << int32_t(0);
        ar << int32_t(1) << CString("G");
        ar << int32_t(3) << int32_t(1) << int32_t(2) << int32_t(3); // three roots for one chord
        for (int i = 0; i < 64; ++i)
            ar << int32_t(0);
    });
    // A huge count with no data behind it.
    const auto huge = Build([](CArchive& ar) {
        ar << int32_t(20) << true << int32_t(1) << int32_t(0) << int32_t(0) << 440.0f << CString("") << false
           << CString("") << false << int32_t(0x7FFFFFF0);
    });
    const auto negative = Build([](CArchive& ar) {
        ar << int32_t(20) << true << int32_t(1) << int32_t(0) << int32_t(0) << 440.0f << CString("") << false
           << CString("") << false << int32_t(-5);
    });
    for (const auto* bytes : {&longer, &huge, &negative}) {
        DocFileBody r;
        bool refused = false;
        try {
            Read(*bytes, r);
        } catch (CException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused);
        EXPECT_LE(r.chords.size(), 1u);
    }

    // What no song has: a length beyond the longest the program loads, more
    // lyric lines (each a window) or row texts than the longest song's rows,
    // a transposition or reference pitch no song is given.
    DocFileBody longest = Sample();
    longest.totalLength = kMaxSongMs;
    longest.lyrics.assign(kMaxRows, CString("la"));
    longest.rowTexts.assign(kMaxRows, CString("C"));
    DocFileBody r;
    EXPECT_EQ(20, Read(Write(longest), r));
    const std::vector<std::function<void(DocFileBody&)>> beyond = {
        [](DocFileBody& b) { b.totalLength = kMaxSongMs + 1; }, [](DocFileBody& b) { b.totalLength = -1; },
        [](DocFileBody& b) { b.lyrics.push_back("la"); }, [](DocFileBody& b) { b.rowTexts.push_back("C"); },
        [](DocFileBody& b) { b.transpose = 12; }, [](DocFileBody& b) { b.transpose = INT_MIN; },
        [](DocFileBody& b) { b.tuning = std::nanf(""); }, [](DocFileBody& b) { b.tuning = -440.0f; },
        [](DocFileBody& b) { b.tuning = 1e30f; }};
    for (const auto& change : beyond) {
        DocFileBody b = longest;
        change(b);
        bool refused = false;
        try {
            DocFileBody out;
            Read(Write(b), out);
        } catch (CException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused);
    }
}

} // namespace

namespace {

TEST(DocFile, LeadSheetBoxesRoundTripAndHugeCountsAreRefused)
{
    LeadSheetBoxes boxes(2);
    boxes[0].rtf = "{\\rtf1 Song\\par}";
    boxes[0].right = 300;
    boxes[0].bottom = 500;
    boxes[1].rtf = "{\\rtf1 la\\par}";
    const auto bytes = Build([&](CArchive& ar) { WriteLeadSheetBoxes(ar, boxes); });
    // Count, then per box its string and left, right, top, bottom.
    ASSERT_EQ(bytes.size(), 4u + 1 + 16 + 16 + 1 + 14 + 16);
    EXPECT_EQ(300, bytes[4 + 1 + 16 + 4] | bytes[4 + 1 + 16 + 5] << 8); // right, after left
    LeadSheetBoxes back;
    CMemFile f(bytes.data(), bytes.size());
    CArchive ar(&f, CArchive::load);
    ReadLeadSheetBoxes(ar, back);
    ASSERT_EQ(2u, back.size());
    EXPECT_EQ(std::string("{\\rtf1 la\\par}"), std::string(back[1].rtf));
    EXPECT_EQ(500, back[0].bottom);

    // More boxes than the file holds, and more than any lead sheet has
    // though the file would hold them.
    const auto unheld = Build([](CArchive& ar) { ar << uint32_t(60000) << uint32_t(0); });
    const auto tooMany = Build([](CArchive& ar) {
        ar << uint32_t(kMaxLeadSheetBoxes + 1);
        for (uint32_t i = 0; i <= kMaxLeadSheetBoxes; ++i)
            ar << CString() << int32_t(0) << int32_t(0) << int32_t(0) << int32_t(0);
    });
    for (const auto* refused : {&unheld, &tooMany}) {
        LeadSheetBoxes r = boxes;
        CMemFile rf(refused->data(), refused->size());
        CArchive rar(&rf, CArchive::load);
        bool thrown = false;
        try {
            ReadLeadSheetBoxes(rar, r);
        } catch (CException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown);
        EXPECT_EQ(2u, r.size()); // left as it was
    }
}

} // namespace
