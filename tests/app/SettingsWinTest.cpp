#include <gtest/gtest.h>

#include <string>

#include "DialogWatcher.h"
#include "app/InstallFolderWin.h"
#include "app/RegistryHelper.h"

namespace {

// The test's own Wine prefix holds the key; each test sets the value it needs.
class InstallFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &m_key, nullptr));
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        m_bin = path;
        m_bin = m_bin.substr(0, m_bin.find_last_of('\\') + 1);
    }
    void TearDown() override
    {
        RegDeleteValueA(m_key, kAppPathsValue);
        RegCloseKey(m_key);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathsKey);
    }
    void SetPath(const std::string& value)
    {
        RegSetValueExA(m_key, kAppPathsValue, 0, REG_SZ, (const BYTE*)value.c_str(), (DWORD)value.size() + 1);
    }

    HKEY m_key = nullptr;
    std::string m_bin; // ends with '\'
};

} // namespace

TEST_F(InstallFolderTest, RegistryValueInBothForms)
{
    SetPath(m_bin);
    EXPECT_STREQ(m_bin.c_str(), AppInstallFolder().GetRaw());
    std::string bare = m_bin.substr(0, m_bin.size() - 1);
    EXPECT_STREQ(bare.c_str(), AppInstallFolder().GetNormalised());
    EXPECT_STREQ((bare + "\\set.ton").c_str(), AppSettingsFile().GetPath());
    SetPath(bare);
    EXPECT_STREQ((bare + "\\set.ton").c_str(), AppSettingsFile().GetPath());

    // A value that is not a string reads as missing.
    DWORD number = 7;
    RegSetValueExA(m_key, kAppPathsValue, 0, REG_DWORD, (const BYTE*)&number, sizeof number);
    EXPECT_STREQ("", CRegistryHelper().QueryString(kAppPathsKey, kAppPathsValue));
    EXPECT_STREQ("", CRegistryHelper().QueryString("SOFTWARE\\NoSuchKeyAnywhere", "path"));
}

TEST_F(InstallFolderTest, SettingsRoundTripInTheFolder)
{
    std::string folder = m_bin + "settings-test\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "set.ton").c_str());
    SetPath(folder);
    EXPECT_EQ(-1, AppSettingsFile().GetSetting("rowsPerPage"));
    AppSettingsFile().WriteSetting("rowsPerPage", 7);
    AppSettingsFile().WriteSetting("soundCard", 0);
    AppSettingsFile().WriteSetting("rowsPerPage", 9);
    EXPECT_EQ(9, AppSettingsFile().GetSetting("rowsPerPage"));
    EXPECT_EQ(0, AppSettingsFile().GetSetting("soundCard"));

    char content[64] = {0};
    FILE* f = fopen((folder + "set.ton").c_str(), "rb");
    ASSERT_NE(nullptr, f);
    fread(content, 1, sizeof content - 1, f);
    fclose(f);
    EXPECT_STREQ("[rowsPerPage]=9\r\n[soundCard]=0\r\n", content);
    DeleteFileA((folder + "set.ton").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(InstallFolderTest, EmptyValueIsReportedAndTheSystemFolderUsed)
{
    SetPath("");
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk);
    CString folder = AppInstallFolder().GetNormalised();
    EXPECT_TRUE(watcher.found()); // the program's message box
    EXPECT_STREQ(system, folder);
    EXPECT_STREQ("", AppInstallFolder().GetRaw()); // the raw form says nothing
}
