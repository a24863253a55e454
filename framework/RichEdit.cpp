#include "framework/RichEdit.h"

BOOL AfxInitRichEdit2()
{
    // Never freed: the controls live until the process ends.
    static HMODULE lib = ::LoadLibraryA("riched20.dll");
    return lib != nullptr;
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!AfxInitRichEdit2())
        return FALSE;
    return CWnd::Create(RICHEDIT_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

DWORD CRichEditCtrl::CharFormat(WPARAM which, CHARFORMATA& cf) const
{
    cf.cbSize = sizeof cf;
    return (DWORD)SendMessage(EM_GETCHARFORMAT, which, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetCharFormat(WPARAM which, CHARFORMATA& cf)
{
    cf.cbSize = sizeof cf;
    return (BOOL)SendMessage(EM_SETCHARFORMAT, which, (LPARAM)&cf);
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr = {0, 0};
    SendMessage(EM_EXGETSEL, 0, (LPARAM)&cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr = {nStartChar, nEndChar};
    SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr);
}

void CRichEditCtrl::ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
}

long CRichEditCtrl::GetTextLength() const
{
    GETTEXTLENGTHEX gtl = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return (long)SendMessage(EM_GETTEXTLENGTHEX, (WPARAM)&gtl);
}

CPoint CRichEditCtrl::GetCharPos(long lChar) const
{
    POINTL pt = {0, 0};
    SendMessage(EM_POSFROMCHAR, (WPARAM)&pt, lChar);
    return CPoint((int)pt.x, (int)pt.y);
}
