#include "uikit/StatusBarXP.h"

BEGIN_MESSAGE_MAP(CStatusBarXP, CStatusBar)
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CStatusBarXP::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (!CStatusBar::SetIndicators(lpIDArray, nIDCount))
        return FALSE;
    SendMessage(SB_SETMINHEIGHT, 20);
    for (int i = 0; i < GetCount(); ++i)
        SetPaneStyle(i, GetPaneStyle(i) | SBPS_NOBORDERS);
    return TRUE;
}


void CStatusBarXP::OnPaint()
{
    Default();
    HDC dc = ::GetDC(m_hWnd);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
    for (int i = 0; i < GetCount(); ++i) {
        RECT rc;
        GetItemRect(i, &rc);
        ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    ::ReleaseDC(m_hWnd, dc);
}
