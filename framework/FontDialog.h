#pragma once
// The common font dialog, and the font families the system offers.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "framework/CString.h"
#include "framework/Object.h"

class CDC;
class CWnd;

class CFontDialog : public CObject {
public:
    // Starts from lplfInitial when given; dwFlags are CF_* flags beyond
    // CF_INITTOLOGFONTSTRUCT, which a starting font adds.
    explicit CFontDialog(const LOGFONTA* lplfInitial = nullptr, DWORD dwFlags = CF_SCREENFONTS,
                         CDC* pdcPrinter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK or IDCANCEL.
    INT_PTR DoModal();
    void GetCurrentFont(LOGFONTA* lplf) const { *lplf = m_lf; }
    CString GetFaceName() const { return CString(m_lf.lfFaceName); }
    // Size in tenths of a point.
    int GetSize() const { return m_cf.iPointSize; }
    BOOL IsBold() const { return m_lf.lfWeight >= FW_SEMIBOLD; }
    BOOL IsItalic() const { return m_lf.lfItalic; }
    BOOL IsUnderline() const { return m_lf.lfUnderline; }

    CHOOSEFONTA m_cf;

private:
    LOGFONTA m_lf;
    CWnd* m_pParentWnd;
};

// Full names of the font families of a character set on a device.
std::vector<CString> AfxEnumFontFamilyNames(HDC hdc, BYTE charSet);
// "full name style" of every face of one family on a device.
std::vector<CString> AfxEnumFaceStyles(HDC hdc, LPCSTR faceName);
