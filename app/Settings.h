#pragma once
// The installation folder and the settings file "set.ton". Portable: the
// registry value, the system folder and the empty-value message come from a
// CInstallFolderSource (the Win32 one reads the App Paths key).
//
// set.ton holds one "[name]=value" line per setting, value as "%d", CR LF
// line ends, in the order the settings were first written.

#include "framework/CString.h"

class CInstallFolderSource {
public:
    virtual ~CInstallFolderSource() = default;
    // The folder value exactly as stored ("" when missing).
    virtual CString QueryStoredFolder() = 0;
    // Used in place of an empty stored value.
    virtual CString GetSystemFolder() = 0;
    // Tells the user that the stored value is empty.
    virtual void ReportEmptyFolder() = 0;
};

// The folder is read afresh at every use.
class CInstallFolder {
public:
    explicit CInstallFolder(CInstallFolderSource& source) : m_source(source) {}

    // As stored: file names are appended directly, so it ends with a separator.
    CString GetRaw() { return m_source.QueryStoredFolder(); }
    // Without its one trailing separator; the system folder when empty.
    CString GetNormalised();

private:
    CInstallFolderSource& m_source;
};

// Removes one trailing "\" or "/".
CString StripOneSeparator(const CString& folder);

class CSettingsFile {
public:
    explicit CSettingsFile(CInstallFolder& folder) : m_folder(folder) {}

    CString GetPath() { return m_folder.GetNormalised() + "\\set.ton"; }
    // -1 when the file or the setting is missing.
    int GetSetting(const char* name) { return Read(GetPath(), name); }
    void WriteSetting(const char* name, int value) { Write(GetPath(), name, value); }

    // The file rules on an explicit path.
    static int Read(const char* path, const char* name);
    // False when the file could not be written.
    static bool Write(const char* path, const char* name, int value);

private:
    CInstallFolder& m_folder;
};
