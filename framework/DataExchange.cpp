#include "framework/DataExchange.h"

#include <climits>

#include "framework/App.h"
#include "framework/Exception.h"
#include "framework/Wnd.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0), m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND h = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    if (!h) {
        OutputDebugStringA("data exchange: no such control\n");
        return nullptr;
    }
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    if (h)
        m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate)
        AfxThrowUserException();
    HWND h = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), m_idLastControl);
    if (h) {
        ::SetFocus(h);
        if (m_bEditLastControl)
            ::SendMessageA(h, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

BOOL AfxParseInt(const char* text, int& value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    if (*p < '0' || *p > '9')
        return FALSE;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > (long long)INT_MAX + 1)
            return FALSE;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p)
        return FALSE;
    if (negative)
        v = -v;
    if (v < INT_MIN || v > INT_MAX)
        return FALSE;
    value = (int)v;
    return TRUE;
}

namespace {
CString TextOf(HWND h)
{
    CString s;
    int n = ::GetWindowTextLengthA(h);
    int got = ::GetWindowTextA(h, s.GetBuffer(n + 1), n + 1);
    s.ReleaseBuffer(got >= 0 && got <= n ? got : 0);
    return s;
}
} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate) {
        int v = 0;
        if (!AfxParseInt(TextOf(h), v)) {
            AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = v;
    } else {
        char buf[16];
        wsprintfA(buf, "%d", value);
        ::SetWindowTextA(h, buf);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = TextOf(h);
    else
        ::SetWindowTextA(h, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(h, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(h, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(h, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(h, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (h && !rControl.SubclassWindow(h))
        OutputDebugStringA("data exchange: control already bound\n");
}
