#pragma once
// The installation folder as the registry records it, and the program's
// settings file in it.
#include "Settings.h"

// Key under HKEY_LOCAL_MACHINE and value that hold the installation folder.
extern const char kAppPathsKey[];
extern const char kAppPathsValue[];

// The App Paths value; an empty one is reported with text 40 (caption 122)
// and replaced by the system folder.
class CRegistryFolderSource : public CInstallFolderSource {
public:
    CString QueryStoredFolder() override;
    CString GetSystemFolder() override;
    void ReportEmptyFolder() override;
};

// The process's installation folder and settings file.
CInstallFolder& AppInstallFolder();
CSettingsFile& AppSettingsFile();
