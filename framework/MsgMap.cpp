// Thunks of the message maps: each unpacks the message parameters for one
// handler signature and stores the handler's result.
#include "framework/MsgMap.h"

#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"

namespace {
template <class Sig>
Sig As(AFX_PMSG pfn)
{
    return AfxPmsgAs<Sig>(pfn);
}
CWnd* W(CCmdTarget* t) { return static_cast<CWnd*>(t); }
CWnd* WndOf(WPARAM w) { return CWnd::FromHandle((HWND)w); }
CWnd* WndOf(LPARAM l) { return CWnd::FromHandle((HWND)l); }

// A device context handed in a message, wrapped for the handler's call.
struct DcArg {
    CDC dc;
    explicit DcArg(WPARAM w) { dc.Attach((HDC)w); }
    ~DcArg() { dc.Detach(); }
};
struct MenuArg {
    CMenu* menu;
    explicit MenuArg(HMENU h) : menu(CMenu::FromHandle(h)) {}
};
} // namespace

namespace AfxThunk {

BOOL Cmd(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (t->*As<void (CCmdTarget::*)()>(p))();
    c.result = 0;
    return TRUE;
}
BOOL CmdEx(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c) { return (t->*As<BOOL (CCmdTarget::*)(UINT)>(p))(c.nID); }
BOOL CmdRange(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (t->*As<void (CCmdTarget::*)(UINT)>(p))(c.nID);
    return TRUE;
}
BOOL CmdUI(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    CCmdUI* ui = static_cast<CCmdUI*>(c.pExtra);
    ui->m_bContinueRouting = FALSE;
    (t->*As<void (CCmdTarget::*)(CCmdUI*)>(p))(ui);
    return !ui->m_bContinueRouting;
}
BOOL CmdUIRange(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c) { return CmdUI(t, p, c); }
BOOL ReflectEx(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL&) { return (t->*As<BOOL (CCmdTarget::*)()>(p))(); }
BOOL Notify(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (t->*As<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(p))(n->pNMHDR, n->pResult);
    return TRUE;
}
BOOL NotifyReflectEx(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (t->*As<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(p))(n->pNMHDR, n->pResult);
}
BOOL NotifyEx(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (t->*As<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(p))(c.nID, n->pNMHDR, n->pResult);
}
BOOL NotifyRange(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (t->*As<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(p))(c.nID, n->pNMHDR, n->pResult);
    return TRUE;
}
BOOL Message(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<LRESULT (CWnd::*)(WPARAM, LPARAM)>(p))(c.wParam, c.lParam);
    return TRUE;
}
BOOL Void(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)()>(p))();
    c.result = 0;
    return TRUE;
}
BOOL Create(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<int (CWnd::*)(LPCREATESTRUCT)>(p))((LPCREATESTRUCT)c.lParam);
    return TRUE;
}
BOOL Timer(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(UINT_PTR)>(p))((UINT_PTR)c.wParam);
    return TRUE;
}
BOOL Mouse(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(UINT, CPoint)>(p))((UINT)c.wParam, CPoint(c.lParam));
    return TRUE;
}
BOOL Size(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(UINT, int, int)>(p))((UINT)c.wParam, (short)LOWORD(c.lParam), (short)HIWORD(c.lParam));
    return TRUE;
}
BOOL Move(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(int, int)>(p))((short)LOWORD(c.lParam), (short)HIWORD(c.lParam));
    return TRUE;
}
BOOL EraseBkgnd(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    DcArg dc(c.wParam);
    c.result = (W(t)->*As<BOOL (CWnd::*)(CDC*)>(p))(&dc.dc);
    return TRUE;
}
BOOL CtlColor(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    DcArg dc(c.wParam);
    c.result = (LRESULT)(W(t)->*As<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(p))(&dc.dc, WndOf(c.lParam), c.nCode);
    return TRUE;
}
BOOL CtlColorReflect(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    DcArg dc(c.wParam);
    HBRUSH b = (W(t)->*As<HBRUSH (CWnd::*)(CDC*, UINT)>(p))(&dc.dc, c.nCode);
    if (!b)
        return FALSE; // the parent's colours stay
    c.result = (LRESULT)b;
    return TRUE;
}
BOOL SetCursor(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(p))(WndOf(c.wParam), (short)LOWORD(c.lParam),
                                                                HIWORD(c.lParam));
    return TRUE;
}
BOOL Key(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(UINT, UINT, UINT)>(p))((UINT)c.wParam, LOWORD(c.lParam), HIWORD(c.lParam));
    return TRUE;
}
BOOL Focus(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(CWnd*)>(p))(WndOf(c.wParam));
    return TRUE;
}
BOOL Scroll(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    CScrollBar* bar = static_cast<CScrollBar*>(WndOf(c.lParam));
    (W(t)->*As<void (CWnd::*)(UINT, UINT, CScrollBar*)>(p))(LOWORD(c.wParam), HIWORD(c.wParam), bar);
    return TRUE;
}
BOOL ContextMenu(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(CWnd*, CPoint)>(p))(WndOf(c.wParam), CPoint(c.lParam));
    return TRUE;
}
BOOL MouseWheel(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<BOOL (CWnd::*)(UINT, short, CPoint)>(p))(LOWORD(c.wParam), (short)HIWORD(c.wParam),
                                                                  CPoint(c.lParam));
    return TRUE;
}
BOOL NcHitTest(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<LRESULT (CWnd::*)(CPoint)>(p))(CPoint(c.lParam));
    return TRUE;
}
BOOL DrawItem(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(p))((int)c.wParam, (LPDRAWITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}
BOOL MeasureItem(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(p))((int)c.wParam, (LPMEASUREITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}
BOOL DeleteItem(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(int, LPDELETEITEMSTRUCT)>(p))((int)c.wParam, (LPDELETEITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}
BOOL DrawItemReflect(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(LPDRAWITEMSTRUCT)>(p))((LPDRAWITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}
BOOL MeasureItemReflect(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(LPMEASUREITEMSTRUCT)>(p))((LPMEASUREITEMSTRUCT)c.lParam);
    c.result = TRUE;
    return TRUE;
}
BOOL InitMenuPopup(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    MenuArg m((HMENU)c.wParam);
    (W(t)->*As<void (CWnd::*)(CMenu*, UINT, BOOL)>(p))(m.menu, LOWORD(c.lParam), HIWORD(c.lParam));
    return TRUE;
}
BOOL MenuChar(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    MenuArg m((HMENU)c.lParam);
    c.result = (W(t)->*As<LRESULT (CWnd::*)(UINT, UINT, CMenu*)>(p))(LOWORD(c.wParam), HIWORD(c.wParam), m.menu);
    return TRUE;
}
BOOL DropFiles(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(HDROP)>(p))((HDROP)c.wParam);
    return TRUE;
}
BOOL MinMaxInfo(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(MINMAXINFO*)>(p))((MINMAXINFO*)c.lParam);
    return TRUE;
}
BOOL ShowWindow(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(BOOL, UINT)>(p))((BOOL)c.wParam, (UINT)c.lParam);
    return TRUE;
}
BOOL Activate(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(UINT, CWnd*, BOOL)>(p))(LOWORD(c.wParam), WndOf(c.lParam), HIWORD(c.wParam));
    return TRUE;
}
BOOL WindowPos(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(WINDOWPOS*)>(p))((WINDOWPOS*)c.lParam);
    return TRUE;
}
BOOL NcCalcSize(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*)>(p))((BOOL)c.wParam, (NCCALCSIZE_PARAMS*)c.lParam);
    return TRUE;
}
BOOL MouseActivate(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<int (CWnd::*)(CWnd*, UINT, UINT)>(p))(WndOf(c.wParam), (short)LOWORD(c.lParam),
                                                               HIWORD(c.lParam));
    return TRUE;
}
BOOL Sizing(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(UINT, LPRECT)>(p))((UINT)c.wParam, (LPRECT)c.lParam);
    c.result = TRUE;
    return TRUE;
}
BOOL StyleChanged(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(int, LPSTYLESTRUCT)>(p))((int)c.wParam, (LPSTYLESTRUCT)c.lParam);
    return TRUE;
}
BOOL SysCommand(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(UINT, LPARAM)>(p))((UINT)c.wParam, c.lParam);
    return TRUE;
}
BOOL BoolVoid(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<BOOL (CWnd::*)()>(p))();
    return TRUE;
}
BOOL UintVoid(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    c.result = (W(t)->*As<UINT (CWnd::*)()>(p))();
    return TRUE;
}
BOOL WndArg(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(CWnd*)>(p))(WndOf(c.wParam));
    return TRUE;
}
BOOL CaptureChanged(CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c)
{
    (W(t)->*As<void (CWnd::*)(CWnd*)>(p))(WndOf(c.lParam));
    return TRUE;
}

} // namespace AfxThunk
