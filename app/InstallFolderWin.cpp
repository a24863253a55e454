#include "InstallFolderWin.h"

#include <windows.h>

#include "LangText.h"
#include "MessageBoxDemo.h"
#include "RegistryHelper.h"

const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\FullSuitePlindorDemo.exe";
const char kAppPathsValue[] = "path";

CString CRegistryFolderSource::QueryStoredFolder()
{
    return CRegistryHelper().QueryString(kAppPathsKey, kAppPathsValue);
}

CString CRegistryFolderSource::GetSystemFolder()
{
    char buffer[MAX_PATH + 1] = {0};
    UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? CString(buffer) : CString();
}

void CRegistryFolderSource::ReportEmptyFolder() { ShowMessageBox(LangText(40), LangText(122), false, nullptr); }

CInstallFolder& AppInstallFolder()
{
    static CRegistryFolderSource source;
    static CInstallFolder folder(source);
    return folder;
}

CSettingsFile& AppSettingsFile()
{
    static CSettingsFile settings(AppInstallFolder());
    return settings;
}
