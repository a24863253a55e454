#include "uikit/StatusBarXP.h"

#include <algorithm>

#include "uikit/DrawHelpers.h"

// The framework keeps no class information for its bars.
IMPLEMENT_DYNAMIC(CStatusBarXP, CObject)

BEGIN_MESSAGE_MAP(CStatusBarXP, CStatusBar)
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CStatusBarXP::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (!CStatusBar::SetIndicators(lpIDArray, nIDCount))
        return FALSE;
    SendMessage(SB_SETMINHEIGHT, kMinHeight);
    for (int i = 0; i < GetCount(); ++i)
        SetPaneStyle(i, GetPaneStyle(i) | SBPS_NOBORDERS);
    return TRUE;
}

CSize CStatusBarXP::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CStatusBar::CalcFixedLayout(bStretch, bHorz);
    size.cy = std::max<int>(size.cy, kMinHeight);
    return size;
}

void CStatusBarXP::OnPaint()
{
    Default();
    CClientDC dc(this);
    CPenDC pen(dc.m_hDC, ::GetSysColor(COLOR_BTNSHADOW));
    CBrushDC brush(dc.m_hDC, (COLORREF)-1);
    for (int i = 0; i < GetCount(); ++i) {
        CRect rc;
        GetItemRect(i, &rc);
        dc.Rectangle(&rc);
    }
}
