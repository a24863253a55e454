#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/LangText.h"
#include "app/LanguageTable.h"

namespace {

std::vector<std::string> g_reports;
void Record(const char* text) { g_reports.push_back(text); }

class LanguageTableTest : public ::testing::Test {
protected:
    LanguageTableTest() : file("languages")
    {
        g_reports.clear();
        table.SetReporter(&Record);
    }
    bool Load(const std::string& content)
    {
        file.Write(content);
        return table.Load(file.path());
    }
    ScratchFile file;
    CLanguageTable table;
};

} // namespace

TEST_F(LanguageTableTest, ReadsSectionsInFileOrder)
{
    ASSERT_TRUE(Load("preamble = ignored\n[English]\n1=File\n2=a=b\n3=\n 7 =x\nend\n"
                     "between\r\n[Deutsch] trailing]\r\n1=Datei\r\nend\r\n"));
    EXPECT_TRUE(g_reports.empty());
    std::vector<CString> names = table.GetLanguageNames();
    ASSERT_EQ(2u, names.size());
    EXPECT_STREQ("English", names[0]);
    EXPECT_STREQ("Deutsch", names[1]);

    EXPECT_EQ(-1, table.current);
    EXPECT_STREQ("", table.GetString(1)); // nothing selected yet
    ASSERT_TRUE(table.SelectIndex(0));
    EXPECT_STREQ("File", table.GetString(1));
    EXPECT_STREQ("a=b", table.GetString(2)); // later '=' belong to the text
    EXPECT_STREQ("", table.GetString(3));
    EXPECT_STREQ("x", table.GetString(7)); // leading blanks skipped by the number
    EXPECT_STREQ("", table.GetString(99));
    EXPECT_STREQ("English", table.GetCurrentName());
    ASSERT_TRUE(table.SelectIndex(1));
    EXPECT_STREQ("Datei", table.GetString(1)); // CR LF read as text mode reads it
    EXPECT_STREQ("", table.GetString(2));
}

TEST_F(LanguageTableTest, FirstOccurrenceWinsAndNameStays)
{
    ASSERT_TRUE(Load("[Mixed Case]\n5=first\n40=A\n5=second\n40=B\n-1=X\nend"));
    ASSERT_TRUE(table.SelectIndex(0));
    EXPECT_STREQ("first", table.GetString(5));
    EXPECT_STREQ("A", table.GetString(40));
    EXPECT_STREQ("Mixed Case", table.GetCurrentName());
}

TEST_F(LanguageTableTest, UnfinishedSectionIsDropped)
{
    ASSERT_TRUE(Load("[English]\n1=One\nend\n[Deutsch]\n1=Eins\n"));
    ASSERT_EQ(1, table.GetLanguageCount());
    EXPECT_STREQ("English", table.GetLanguageNames()[0]);
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(LanguageTableTest, CorruptFilesKeepCompletedSections)
{
    // An empty line inside a section has no '='.
    EXPECT_FALSE(Load("[English]\n1=One\nend\n[Deutsch]\n1=Eins\n\n2=Zwei\nend\n"));
    ASSERT_EQ(1u, g_reports.size());
    EXPECT_EQ("Language file is corrupt.", g_reports[0]);
    EXPECT_EQ(1, table.GetLanguageCount());

    // A header on the last line.
    g_reports.clear();
    EXPECT_FALSE(Load("[English]\n1=One\nend\n[Deutsch]"));
    EXPECT_EQ(1u, g_reports.size());
    EXPECT_EQ(1, table.GetLanguageCount());

    // "End" or "end " are entries, and have no '='.
    EXPECT_FALSE(Load("[English]\n1=One\nend \n"));
    EXPECT_EQ(0, table.GetLanguageCount());
}

TEST_F(LanguageTableTest, EmptyAndMissingFiles)
{
    EXPECT_TRUE(Load(""));
    EXPECT_EQ(0, table.GetLanguageCount());
    EXPECT_TRUE(Load("no sections at all\n"));
    EXPECT_EQ(0, table.GetLanguageCount());

    ASSERT_TRUE(Load("[English]\nend\n"));
    ASSERT_TRUE(table.SelectIndex(0));
    EXPECT_FALSE(table.Load("no-such-dir/languages.txt"));
    ASSERT_EQ(1u, g_reports.size());
    EXPECT_EQ("Could not open language file. Default language is used.", g_reports[0]);
    EXPECT_EQ(-1, table.current);
    EXPECT_EQ(0, table.GetLanguageCount());
    EXPECT_STREQ("", table.GetCurrentName());
}

TEST_F(LanguageTableTest, Selection)
{
    ASSERT_TRUE(Load("[English]\n1=One\nend\n[Deutsch]\n1=Eins\nend\n"));
    EXPECT_TRUE(table.SelectName("DEUTSCH"));
    EXPECT_EQ(1, table.current);
    EXPECT_FALSE(table.SelectName("Francais"));
    EXPECT_EQ(1, table.current);
    EXPECT_FALSE(table.SelectIndex(-1));
    EXPECT_FALSE(table.SelectIndex(2));
    EXPECT_EQ(1, table.current);
    EXPECT_TRUE(table.SelectIndex(0));
    EXPECT_STREQ("One", table.GetString(1));
}

TEST_F(LanguageTableTest, HugeNumbersSaturate)
{
    ASSERT_TRUE(Load("[English]\n99999999999999999999=big\n-99999999999999999999=small\nabc=zero\nend\n"));
    ASSERT_TRUE(table.SelectIndex(0));
    EXPECT_STREQ("big", table.GetString(2147483647));
    EXPECT_STREQ("small", table.GetString(-2147483647 - 1));
    EXPECT_STREQ("zero", table.GetString(0));
}

TEST_F(LanguageTableTest, LangTextReadsTheRegisteredTable)
{
    ASSERT_TRUE(Load("[English]\n5=Five\nend\n"));
    EXPECT_STREQ("", LangText(5));
    SetLangTextTable(&table);
    EXPECT_STREQ("", LangText(5)); // registered, nothing selected
    table.SelectIndex(0);
    EXPECT_STREQ("Five", LangText(5));
    SetLangTextTable(nullptr);
    EXPECT_STREQ("", LangText(5));
}

// The shipped file: both languages load and carry every text the program asks for.
TEST_F(LanguageTableTest, ShippedFileHoldsEveryTextInBothLanguages)
{
    ASSERT_TRUE(table.Load(QUORVA_SOURCE_DIR "/data/languages.txt"));
    EXPECT_TRUE(g_reports.empty());
    ASSERT_EQ(2, table.GetLanguageCount());
    const int used[] = {1,   2,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  18,
                        19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,  31,  32,  33,  38,  39,
                        40,  42,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  59,  60,  61,  62,
                        63,  64,  65,  66,  67,  68,  69,  70,  71,  73,  74,  75,  76,  77,  78,  79,
                        80,  89,  90,  91,  92,  93,  94,  95,  96,  97,  99,  100, 101, 102, 103, 104,
                        105, 106, 108, 109, 110, 111, 112, 113, 115, 116, 117, 118, 119, 122, 123, 124,
                        125, 126, 127, 128, 129, 130, 131, 132, 134, 135, 139, 140, 143, 144, 150, 175, 176};
    for (int lang = 0; lang < 2; ++lang) {
        ASSERT_TRUE(table.SelectIndex(lang));
        for (int n : used)
            EXPECT_FALSE(table.GetString(n).IsEmpty()) << "text " << n << " of " << table.GetCurrentName();
        // The loader's message fills exactly one integer.
        EXPECT_EQ(1, table.GetString(5).Replace("%d", "")) << table.GetCurrentName();
    }
    EXPECT_TRUE(table.SelectName("english"));
    EXPECT_TRUE(table.SelectName("DEUTSCH"));
}
