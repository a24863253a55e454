#include "framework/FontDialog.h"

#include <cstring>

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/Wnd.h"

CFontDialog::CFontDialog(const LOGFONTA* lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd)
{
    std::memset(&m_cf, 0, sizeof m_cf);
    std::memset(&m_lf, 0, sizeof m_lf);
    m_cf.lStructSize = sizeof m_cf;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    if (lplfInitial) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (pdcPrinter) {
        m_cf.hDC = pdcPrinter->GetSafeHdc();
        m_cf.Flags |= CF_PRINTERFONTS;
    }
}

INT_PTR CFontDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!owner)
        owner = ::GetActiveWindow();
    m_cf.hwndOwner = owner;
    m_cf.lpLogFont = &m_lf; // the object may have been copied
    CSystemBoxGuard guard(owner);
    return ::ChooseFontA(&m_cf) ? IDOK : IDCANCEL;
}

namespace {

int CALLBACK CollectFamilyEx(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM lParam)
{
    auto* out = reinterpret_cast<std::vector<CString>*>(lParam);
    const auto* elf = reinterpret_cast<const ENUMLOGFONTEXA*>(lf);
    out->push_back(CString(reinterpret_cast<const char*>(elf->elfFullName)));
    return 1;
}

int CALLBACK CollectStyle(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM lParam)
{
    auto* out = reinterpret_cast<std::vector<CString>*>(lParam);
    const auto* elf = reinterpret_cast<const ENUMLOGFONTEXA*>(lf);
    out->push_back(CString(reinterpret_cast<const char*>(elf->elfFullName)) + " " +
                   CString(reinterpret_cast<const char*>(elf->elfStyle)));
    return 1;
}

} // namespace

std::vector<CString> AfxEnumFontFamilyNames(HDC hdc, BYTE charSet)
{
    std::vector<CString> out;
    LOGFONTA lf = {};
    lf.lfCharSet = charSet;
    ::EnumFontFamiliesExA(hdc, &lf, CollectFamilyEx, reinterpret_cast<LPARAM>(&out), 0);
    return out;
}

std::vector<CString> AfxEnumFaceStyles(HDC hdc, LPCSTR faceName)
{
    std::vector<CString> out;
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, faceName, LF_FACESIZE);
    ::EnumFontFamiliesExA(hdc, &lf, CollectStyle, reinterpret_cast<LPARAM>(&out), 0);
    return out;
}
