#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/Settings.h"

namespace {

class FakeFolderSource : public CInstallFolderSource {
public:
    CString QueryStoredFolder() override { return stored; }
    CString GetSystemFolder() override { return "C:\\windows\\system32"; }
    void ReportEmptyFolder() override { ++reports; }
    CString stored;
    int reports = 0;
};

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() : file("set.ton") {}
    int Read(const char* name) { return CSettingsFile::Read(file.path(), name); }
    ScratchFile file;
};

} // namespace

TEST(InstallFolder, RawAndNormalisedForms)
{
    FakeFolderSource src;
    CInstallFolder folder(src);
    CSettingsFile settings(folder);

    src.stored = "C:\\Programs\\Plindor\\";
    EXPECT_STREQ("C:\\Programs\\Plindor\\", folder.GetRaw());
    EXPECT_STREQ("C:\\Programs\\Plindor", folder.GetNormalised());
    CString withSeparator = settings.GetPath();
    src.stored = "C:\\Programs\\Plindor";
    EXPECT_STREQ(withSeparator, settings.GetPath());
    EXPECT_STREQ("C:\\Programs\\Plindor\\set.ton", settings.GetPath());
    src.stored = "D:/x//"; // only one separator goes
    EXPECT_STREQ("D:/x/", folder.GetNormalised());
    EXPECT_EQ(0, src.reports);

    // Empty: reported at every resolution, the system folder stands in; the
    // raw form stays empty and says nothing.
    src.stored = "";
    EXPECT_STREQ("", folder.GetRaw());
    EXPECT_STREQ("C:\\windows\\system32\\set.ton", settings.GetPath());
    EXPECT_STREQ("C:\\windows\\system32", folder.GetNormalised());
    EXPECT_EQ(2, src.reports);
}

TEST_F(SettingsFileTest, MissingFileReadsMinusOneAndFirstWriteCreatesIt)
{
    EXPECT_EQ(-1, Read("soundCard"));
    ASSERT_TRUE(CSettingsFile::Write(file.path(), "soundCard", 3));
    EXPECT_EQ("[soundCard]=3\r\n", file.Read());
    EXPECT_EQ(3, Read("soundCard"));
    EXPECT_EQ(-1, Read("rowsPerPage"));
}

TEST_F(SettingsFileTest, ReaderRules)
{
    file.Write("[soundCard]=2\r\n\r\n[rowsPerPage]=5\r\n");
    EXPECT_EQ(2, Read("soundCard"));
    EXPECT_EQ(-1, Read("rowsPerPage")); // the empty line ends the search

    file.Write("[lengthPerRow]=abc\r\n[viewBarCount]=-4000\r\n[a] = 5\r\n[soundCard2]=9\r\n");
    EXPECT_EQ(0, Read("lengthPerRow"));
    EXPECT_EQ(-4000, Read("viewBarCount"));
    EXPECT_EQ(5, Read("a"));
    EXPECT_EQ(-1, Read("soundCard")); // the closing bracket is part of the pattern
    EXPECT_EQ(9, Read("soundCard2"));

    file.Write("[x]=1\n[y]=2"); // plain LF and no final line end
    EXPECT_EQ(2, Read("y"));
}

TEST_F(SettingsFileTest, WriterReplacesTheRestOfTheLine)
{
    file.Write("[rowsPerPage]=7xyz\r\n[a]=1\r\n");
    ASSERT_TRUE(CSettingsFile::Write(file.path(), "rowsPerPage", 9));
    EXPECT_EQ("[rowsPerPage]=9\r\n[a]=1\r\n", file.Read());

    ASSERT_TRUE(CSettingsFile::Write(file.path(), "defaultMode", -2));
    ASSERT_TRUE(CSettingsFile::Write(file.path(), "a", 12));
    EXPECT_EQ("[rowsPerPage]=9\r\n[a]=12\r\n[defaultMode]=-2\r\n", file.Read());

    // Last line without a line end is replaced up to the end.
    file.Write("[b]=1\r\n[a]=77");
    ASSERT_TRUE(CSettingsFile::Write(file.path(), "a", 5));
    EXPECT_EQ("[b]=1\r\n[a]=5", file.Read());
}

TEST_F(SettingsFileTest, WriterKeepsHandEditedQuirks)
{
    // "[a] = 5" is read but not matched by the writer, which appends; the
    // reader keeps finding the older line first.
    file.Write("[a] = 5\r\n");
    ASSERT_TRUE(CSettingsFile::Write(file.path(), "a", 6));
    EXPECT_EQ("[a] = 5\r\n[a]=6\r\n", file.Read());
    EXPECT_EQ(5, Read("a"));
}

TEST_F(SettingsFileTest, AppendAfterUnterminatedLastLineStartsANewLine)
{
    file.Write("[b]=1");
    ASSERT_TRUE(CSettingsFile::Write(file.path(), "a", 4));
    EXPECT_EQ("[b]=1\r\n[a]=4\r\n", file.Read());
    EXPECT_EQ(1, Read("b"));
    EXPECT_EQ(4, Read("a"));
}

TEST_F(SettingsFileTest, UnwritableFileFails)
{
    EXPECT_FALSE(CSettingsFile::Write("no-such-dir/set.ton", "a", 1));
}
