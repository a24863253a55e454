// The INI reader: the parse keeps text as written, comments land where they
// stand, a non-printable first byte stops it, names and records pair up;
// the offered lookups, edits and Save.
#include <gtest/gtest.h>

#include <string>

#include "IniTestFiles.h"
#include "views/IniFile.h"

namespace {

struct Parsed {
    bool ok;
    std::vector<CString> names;
    std::vector<IniSection> sections;
    CIniFile ini;
};

void Parse(const std::string& text, Parsed& out)
{
    TestTextFile file(text);
    out.ini.SetPath(file.path.c_str());
    out.ok = out.ini.Load();
    out.names = out.ini.GetSectionNames();
    out.sections = out.ini.GetSections();
}

} // namespace

TEST(IniParse, ValuesKeepTheirTextAndSplitAtTheFirstEquals)
{
    Parsed p;
    Parse("  [Chords] ; the first\r\n"
          "name = value \r\n"
          "a=b=c\n"
          "x=1;y\n"
          "=empty name\n"
          "plain text line\n"
          "[Two]\n"
          "k=\n",
          p);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.names.size(), 2u);
    EXPECT_STREQ(p.names[0], "Chords"); // text between "[" and the last "]"
    EXPECT_STREQ(p.names[1], "Two");
    ASSERT_EQ(p.sections.size(), 2u);
    const IniSection& s = p.sections[0];
    ASSERT_EQ(s.names.size(), 4u);
    EXPECT_STREQ(s.names[0], "name ");
    EXPECT_STREQ(s.values[0], " value ");
    EXPECT_STREQ(s.names[1], "a");
    EXPECT_STREQ(s.values[1], "b=c");
    EXPECT_STREQ(s.names[2], "x");
    EXPECT_STREQ(s.values[2], "1;y");
    EXPECT_STREQ(s.names[3], "");
    EXPECT_STREQ(s.values[3], "empty name");
    EXPECT_TRUE(s.comments.empty());
    ASSERT_EQ(p.sections[1].names.size(), 1u);
    EXPECT_STREQ(p.sections[1].values[0], "");
}

TEST(IniParse, CommentsBelongToTheHeaderOrTheirSection)
{
    Parsed p;
    Parse(";top\n"
          "#also top\n"
          "[A]\n"
          ";about A\n"
          "; x=1\n"
          "text before # the mark\n"
          "v=1\n"
          "[B\n" // no "]": ignored
          "w=2\n",
          p);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.ini.GetHeaderCommentCount(), 2);
    EXPECT_STREQ(p.ini.GetHeaderComment(0), "top");
    EXPECT_STREQ(p.ini.GetHeaderComment(1), "also top");
    ASSERT_EQ(p.names.size(), 1u);
    ASSERT_EQ(p.sections.size(), 1u);
    const IniSection& a = p.sections[0];
    ASSERT_EQ(a.comments.size(), 3u);
    EXPECT_STREQ(a.comments[0], "about A");
    EXPECT_STREQ(a.comments[1], " x=1"); // a comment, though an equals sign follows
    EXPECT_STREQ(a.comments[2], " the mark");
    ASSERT_EQ(a.names.size(), 2u); // the "[B" line changed nothing
    EXPECT_STREQ(a.names[1], "w");
}

TEST(IniParse, RecordsPairWithNamesInEveryCase)
{
    // Two headers in a row, values before the first header, and a last
    // section without lines.
    Parsed p;
    Parse("early=1\n[First]\n[Second]\nk=v\n[Last]\n;only a comment\n", p);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.names.size(), 3u);
    ASSERT_EQ(p.sections.size(), 3u);
    ASSERT_EQ(p.sections[0].names.size(), 1u);
    EXPECT_STREQ(p.sections[0].names[0], "early");
    ASSERT_EQ(p.sections[1].names.size(), 1u);
    EXPECT_STREQ(p.sections[1].values[0], "v");
    EXPECT_TRUE(p.sections[2].names.empty());
    ASSERT_EQ(p.sections[2].comments.size(), 1u);

    Parsed bare;
    Parse("[Only]\n", bare);
    EXPECT_TRUE(bare.ok);
    EXPECT_EQ(bare.sections.size(), 1u);
}

TEST(IniParse, NoHeaderOrNoFileReadsNoSection)
{
    Parsed p;
    Parse("a=1\nb=2\n", p);
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.names.empty());
    EXPECT_TRUE(p.sections.empty());

    CIniFile missing("no-such-file.ini");
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(missing.GetSectionCount(), 0);
}

TEST(IniParse, ANonPrintableFirstByteStopsWithItsCode)
{
    Parsed p;
    testing::internal::CaptureStdout();
    Parse("[A]\nx=1\n[B]\ny=2\n\tz=3\n[C]\n", p);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failing on char 9\n");
    EXPECT_FALSE(p.ok);
    ASSERT_EQ(p.names.size(), 2u); // what came before stays
    ASSERT_EQ(p.sections.size(), 2u);
    EXPECT_EQ(p.sections[0].names.size(), 1u);
    EXPECT_TRUE(p.sections[1].names.empty()); // the interrupted record is dropped

    // A byte-order mark stops at the first line (0xEF read as signed).
    Parsed bom;
    testing::internal::CaptureStdout();
    Parse("\xEF\xBB\xBF[A]\nx=1\n", bom);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failing on char -17\n");
    EXPECT_FALSE(bom.ok);
    EXPECT_TRUE(bom.names.empty());
}

TEST(IniFileOperations, LookupsIgnoreCaseAndToleratBadIndexes)
{
    Parsed p;
    Parse("[Guitar]\nStrings=6\nScale=647.7\nTuning=E A D G B E\n", p);
    CIniFile& ini = p.ini;
    EXPECT_EQ(ini.FindSection("guitar"), 0);
    EXPECT_EQ(ini.FindValue(0, "STRINGS"), 0);
    EXPECT_EQ(ini.GetValueI("GUITAR", "strings"), 6);
    EXPECT_DOUBLE_EQ(ini.GetValueF("Guitar", "Scale"), 647.7);
    EXPECT_EQ(ini.GetValueI("Guitar", "Frets", 22), 22);
    EXPECT_STREQ(ini.GetValue("Bass", "Strings", "4"), "4");
    char first[8] = "";
    char second[8] = "";
    EXPECT_EQ(ini.GetValueV("Guitar", "Tuning", "%7s %7s", first, second), 2);
    EXPECT_STREQ(second, "A");
    EXPECT_EQ(ini.GetValueV("Guitar", "Missing", "%7s", first), 0);

    ini.SetCaseInsensitive(false);
    EXPECT_EQ(ini.FindSection("guitar"), -1);
    ini.SetCaseInsensitive(true);

    // Out-of-range indexes answer empty, 0, -1 or false.
    EXPECT_STREQ(ini.GetSectionName(5), "");
    EXPECT_STREQ(ini.GetValue(0, 9), "");
    EXPECT_STREQ(ini.GetValueName(-1, 0), "");
    EXPECT_EQ(ini.GetValueCount(3), 0);
    EXPECT_EQ(ini.FindValue(7, "x"), -1);
    EXPECT_FALSE(ini.SetValue(0, 9, "x"));
    EXPECT_FALSE(ini.DeleteValue(2, 0));
    EXPECT_FALSE(ini.DeleteSection(4));
    EXPECT_FALSE(ini.DeleteHeaderComment(0));
    EXPECT_FALSE(ini.AddSectionComment(3, "x"));
    EXPECT_STREQ(ini.GetSectionComment(0, 0), "");
}

TEST(IniFileOperations, EditsAndSaveWriteWhatLoadReadsBack)
{
    TestTextFile out("");
    CIniFile ini(out.path.c_str());
    ini.AddHeaderComment(" chord shapes");
    EXPECT_TRUE(ini.SetValueI("Am_1", "BF", 5));
    EXPECT_TRUE(ini.SetValueF("Am_1", "Width", 1.5));
    EXPECT_TRUE(ini.SetValueV("Am_1", "F1", "%d,%d", 2, 3));
    EXPECT_FALSE(ini.SetValue("C_1", "F1", "x", false)); // no creation asked
    EXPECT_TRUE(ini.SetValue("C_1", "NS", "1"));
    EXPECT_TRUE(ini.SetValue("C_1", "Gone", "1"));
    EXPECT_TRUE(ini.DeleteValue("C_1", "gone"));
    EXPECT_TRUE(ini.AddSectionComment(1, " open"));
    EXPECT_EQ(ini.AddSection("am_1"), 0); // the existing one
    EXPECT_TRUE(ini.SetValue("Am_1", "BF", "7", false));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(out.Read(), "; chord shapes\n\n"
                          "[Am_1]\nBF=7\nWidth=1.500000\nF1=2,3\n\n"
                          "[C_1]\n; open\nNS=1\n\n");

    CIniFile back(out.path.c_str());
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.GetSectionCount(), 2);
    EXPECT_STREQ(back.GetValue("Am_1", "F1"), "2,3");
    EXPECT_STREQ(back.GetSectionComment(1, 0), " open");
    EXPECT_TRUE(back.DeleteSection("AM_1"));
    EXPECT_STREQ(back.GetSectionName(0), "C_1");
    EXPECT_EQ(back.GetSections().size(), 1u);
    back.Clear();
    EXPECT_EQ(back.GetSectionCount(), 0);
    EXPECT_EQ(back.GetHeaderCommentCount(), 0);
}
