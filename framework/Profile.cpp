// The application's private profile: an INI file.
#include <cstdlib>

#include "framework/App.h"

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    CString s = GetProfileString(lpszSection, lpszEntry, nullptr);
    s.Trim();
    if (s.IsEmpty())
        return (UINT)nDefault;
    char* end = nullptr;
    long v = strtol(s, &end, 10);
    if (end == s.GetString())
        return (UINT)nDefault;
    return (UINT)(int)v;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    char buf[16];
    wsprintfA(buf, "%d", nValue);
    return WriteProfileString(lpszSection, lpszEntry, buf);
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    if (!m_pszProfileName)
        SetDefaultNames();
    const char* def = lpszDefault ? lpszDefault : "";
    for (DWORD size = 256;; size *= 2) {
        CString s;
        DWORD n = ::GetPrivateProfileStringA(lpszSection, lpszEntry, def, s.GetBuffer((int)size), size,
                                             m_pszProfileName);
        // n == size - 1 means the value was cut.
        if (n < size - 1 || size >= (1u << 20)) {
            s.ReleaseBuffer((int)n);
            return s;
        }
        s.ReleaseBuffer(0);
    }
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (!m_pszProfileName)
        SetDefaultNames();
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}
