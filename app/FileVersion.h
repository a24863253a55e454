#pragma once
// Version resources of program files.
#include <windows.h>

#include "framework/CString.h"

// The file's "FileVersion" string (first translation), or "Corrupt" when
// the file, its version resource or the string is missing. A bare name is
// searched as the system loads libraries, the program's folder first.
CString GetFileVersionString(const char* fileName);

// The fixed information and the twelve standard strings of one version
// resource, in the translation that suits the user's language.
class CFileVersionInfo {
public:
    enum Field {
        kComments,
        kCompanyName,
        kFileDescription,
        kFileVersion,
        kInternalName,
        kLegalCopyright,
        kLegalTrademarks,
        kOriginalFilename,
        kPrivateBuild,
        kProductName,
        kProductVersion,
        kSpecialBuild,
        kFieldCount
    };

    CFileVersionInfo();
    virtual ~CFileVersionInfo();
    virtual void Reset();

    bool Create(const char* fileName);
    bool Create(HMODULE module);

    const VS_FIXEDFILEINFO& GetFixedInfo() const { return m_fixed; }
    CString GetString(Field field) const { return m_strings[field]; }
    CString GetFileVersion() const { return m_strings[kFileVersion]; }
    CString GetProductVersion() const { return m_strings[kProductVersion]; }
    CString GetProductName() const { return m_strings[kProductName]; }
    CString GetCompanyName() const { return m_strings[kCompanyName]; }
    CString GetFileDescription() const { return m_strings[kFileDescription]; }
    CString GetLegalCopyright() const { return m_strings[kLegalCopyright]; }

private:
    VS_FIXEDFILEINFO m_fixed;
    CString m_strings[kFieldCount];
};
