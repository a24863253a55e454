#pragma once
// Message maps: a static table per class, chained to the base class's table,
// that routes window messages, control notifications and command numbers to
// member handlers. Each entry carries a thunk that unpacks the message
// parameters for its handler's signature; the macros check the handler's
// type when the table is compiled.
#include <windows.h>

class CCmdTarget;
class CWnd;
class CCmdUI;

typedef void (CCmdTarget::*AFX_PMSG)();

// Marks message handlers in class declarations.
#define afx_msg

// Private messages of the framework.
#define WM_IDLEUPDATECMDUI 0x0363 // wParam: disable controls without handler
#define WM_KICKIDLE 0x036A        // sent to a modal dialog while its loop idles

// Notification codes routed through OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// The old combined control-colour message: every WM_CTLCOLORxxx is
// dispatched to the entry under this number.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// Reflected messages are looked up under this base plus the message.
#define WM_REFLECT_BASE 0xBC00

// One call of a handler, as a thunk sees it.
struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    UINT nID;     // command or control identifier
    UINT nCode;   // notification code
    void* pExtra; // CCmdUI* for update handlers, AFX_NOTIFY* for WM_NOTIFY
};

// Returns FALSE when the handler declined (the _EX handlers) so that routing
// goes on.
typedef BOOL (*AFX_THUNK)(CCmdTarget* target, AFX_PMSG pfn, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // window message, WM_COMMAND, WM_NOTIFY or WM_REFLECT_BASE + message; 0 ends
    UINT nCode;    // notification code
    UINT nID;      // first identifier
    UINT nLastID;  // last identifier of a range
    AFX_THUNK pfnThunk;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler (handler lookup only).
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

#define DECLARE_MESSAGE_MAP()                                 \
protected:                                                    \
    static const AFX_MSGMAP* GetThisMessageMap();             \
    const AFX_MSGMAP* GetMessageMap() const override;         \
                                                              \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                    \
    {                                                                                  \
        typedef theClass ThisClass;                                                    \
        typedef baseClass TheBaseClass;                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                      \
    { 0, 0, 0, 0, nullptr, nullptr }                                           \
    }                                                                          \
    ;                                                                          \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,    \
                                          &_messageEntries[0]};                \
    (void)sizeof(ThisClass);                                                   \
    return &messageMap;                                                        \
    }

// Handlers are stored untyped and called through the type they were
// stored with; the casts between member pointer types are deliberate.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class Sig>
inline AFX_PMSG AfxPmsgOf(Sig fn)
{
    return reinterpret_cast<AFX_PMSG>(fn);
}
template <class Sig>
inline Sig AfxPmsgAs(AFX_PMSG p)
{
    return reinterpret_cast<Sig>(p);
}
#pragma GCC diagnostic pop

// Checks the handler against the signature, then stores it untyped.
#define AFX_PMSG_OF(sigType, fn) AfxPmsgOf<sigType>(static_cast<sigType>(fn))

// Thunks, one per handler signature (MsgMap.cpp).
namespace AfxThunk {
BOOL Cmd(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);        // void ()
BOOL CmdEx(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);      // BOOL (UINT id)
BOOL CmdRange(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // void (UINT id)
BOOL CmdUI(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);      // void (CCmdUI*)
BOOL CmdUIRange(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (CCmdUI*) for a range
BOOL ReflectEx(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);  // BOOL ()
BOOL Notify(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);     // void (NMHDR*, LRESULT*)
BOOL NotifyReflectEx(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // BOOL (NMHDR*, LRESULT*)
BOOL NotifyEx(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // BOOL (UINT id, NMHDR*, LRESULT*)
BOOL NotifyRange(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (UINT id, NMHDR*, LRESULT*)
BOOL Message(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);    // LRESULT (WPARAM, LPARAM)
BOOL Void(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);       // void ()
BOOL Create(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);     // int (LPCREATESTRUCT)
BOOL Timer(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);      // void (UINT_PTR)
BOOL Mouse(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);      // void (UINT, CPoint)
BOOL Size(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);       // void (UINT, int, int)
BOOL Move(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);       // void (int, int)
BOOL EraseBkgnd(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // BOOL (CDC*)
BOOL CtlColor(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // HBRUSH (CDC*, CWnd*, UINT)
BOOL CtlColorReflect(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // HBRUSH (CDC*, UINT)
BOOL SetCursor(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);  // BOOL (CWnd*, UINT, UINT)
BOOL Key(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);        // void (UINT, UINT, UINT)
BOOL Focus(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);      // void (CWnd*)
BOOL Scroll(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);     // void (UINT, UINT, CScrollBar*)
BOOL ContextMenu(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (CWnd*, CPoint)
BOOL MouseWheel(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // BOOL (UINT, short, CPoint)
BOOL NcHitTest(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);  // LRESULT (CPoint)
BOOL DrawItem(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // void (int, LPDRAWITEMSTRUCT)
BOOL MeasureItem(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (int, LPMEASUREITEMSTRUCT)
BOOL DeleteItem(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (int, LPDELETEITEMSTRUCT)
BOOL DrawItemReflect(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);    // void (LPDRAWITEMSTRUCT)
BOOL MeasureItemReflect(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (LPMEASUREITEMSTRUCT)
BOOL InitMenuPopup(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (CMenu*, UINT, BOOL)
BOOL MenuChar(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // LRESULT (UINT, UINT, CMenu*)
BOOL DropFiles(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);  // void (HDROP)
BOOL MinMaxInfo(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (MINMAXINFO*)
BOOL ShowWindow(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (BOOL, UINT)
BOOL Activate(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // void (UINT, CWnd*, BOOL)
BOOL WindowPos(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);  // void (WINDOWPOS*)
BOOL NcCalcSize(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (BOOL, NCCALCSIZE_PARAMS*)
BOOL MouseActivate(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // int (CWnd*, UINT, UINT)
BOOL Sizing(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);     // void (UINT, LPRECT)
BOOL StyleChanged(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (int, LPSTYLESTRUCT)
BOOL SysCommand(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (UINT, LPARAM)
BOOL BoolVoid(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // BOOL ()
BOOL UintVoid(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);   // UINT ()
BOOL WndArg(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&);     // void (CWnd*) from wParam
BOOL CaptureChanged(CCmdTarget*, AFX_PMSG, AFX_MSGCALL&); // void (CWnd*) from lParam
} // namespace AfxThunk

// Commands and control notifications.
#define ON_COMMAND(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), &AfxThunk::Cmd, AFX_PMSG_OF(void (CCmdTarget::*)(), &ThisClass::fn)},
#define ON_COMMAND_EX(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), &AfxThunk::CmdEx, AFX_PMSG_OF(BOOL (CCmdTarget::*)(UINT), &ThisClass::fn)},
#define ON_COMMAND_RANGE(id, idLast, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), &AfxThunk::CmdRange, AFX_PMSG_OF(void (CCmdTarget::*)(UINT), &ThisClass::fn)},
#define ON_UPDATE_COMMAND_UI(id, fn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), &AfxThunk::CmdUI, AFX_PMSG_OF(void (CCmdTarget::*)(CCmdUI*), &ThisClass::fn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, fn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), &AfxThunk::CmdUIRange, AFX_PMSG_OF(void (CCmdTarget::*)(CCmdUI*), &ThisClass::fn)},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), &AfxThunk::Cmd, AFX_PMSG_OF(void (CCmdTarget::*)(), &ThisClass::fn)},
#define ON_CONTROL_RANGE(code, id, idLast, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast), &AfxThunk::CmdRange, AFX_PMSG_OF(void (CCmdTarget::*)(UINT), &ThisClass::fn)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)

#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), &AfxThunk::Notify, AFX_PMSG_OF(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::fn)},
#define ON_NOTIFY_RANGE(code, id, idLast, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast), &AfxThunk::NotifyRange, AFX_PMSG_OF(void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::fn)},
#define ON_NOTIFY_EX(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), &AfxThunk::NotifyEx, AFX_PMSG_OF(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::fn)},
#define ON_NOTIFY_EX_RANGE(code, id, idLast, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast), &AfxThunk::NotifyEx, AFX_PMSG_OF(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::fn)},

// Notifications reflected from the parent back to the control itself.
#define ON_CONTROL_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, &AfxThunk::Cmd, AFX_PMSG_OF(void (CCmdTarget::*)(), &ThisClass::fn)},
#define ON_CONTROL_REFLECT_EX(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, &AfxThunk::ReflectEx, AFX_PMSG_OF(BOOL (CCmdTarget::*)(), &ThisClass::fn)},
#define ON_NOTIFY_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0, &AfxThunk::Notify, AFX_PMSG_OF(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::fn)},
#define ON_NOTIFY_REFLECT_EX(code, fn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0, &AfxThunk::NotifyReflectEx, AFX_PMSG_OF(BOOL (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::fn)},
#define ON_BN_CLICKED_REFLECT(fn) ON_CONTROL_REFLECT(BN_CLICKED, fn)
#define ON_EN_CHANGE_REFLECT(fn) ON_CONTROL_REFLECT(EN_CHANGE, fn)
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, &AfxThunk::CtlColorReflect, AFX_PMSG_OF(HBRUSH (CWnd::*)(CDC*, UINT), &ThisClass::CtlColor)},
#define ON_WM_DRAWITEM_REFLECT() \
    {WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, &AfxThunk::DrawItemReflect, AFX_PMSG_OF(void (CWnd::*)(LPDRAWITEMSTRUCT), &ThisClass::DrawItem)},
#define ON_WM_MEASUREITEM_REFLECT() \
    {WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0, &AfxThunk::MeasureItemReflect, AFX_PMSG_OF(void (CWnd::*)(LPMEASUREITEMSTRUCT), &ThisClass::MeasureItem)},

// Any message, raw; registered messages by the variable holding the number.
#define ON_MESSAGE(msg, fn) \
    {(UINT)(msg), 0, 0, 0, &AfxThunk::Message, AFX_PMSG_OF(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::fn)},
#define AFX_REGISTERED_MESSAGE 0xC000u
#define ON_REGISTERED_MESSAGE(msgVar, fn)                                                       \
    {AFX_REGISTERED_MESSAGE, 0, 0, 0,                                                          \
     [](CCmdTarget* t, AFX_PMSG p, AFX_MSGCALL& c) -> BOOL {                                   \
         return c.message == (UINT)(msgVar) && AfxThunk::Message(t, p, c);                     \
     },                                                                                        \
     AFX_PMSG_OF(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::fn)},

// Window messages with their cracked handler signatures.
#define AFX_WM(msg, thunk, sig, fn) {(UINT)(msg), 0, 0, 0, &AfxThunk::thunk, AFX_PMSG_OF(sig, &ThisClass::fn)},
#define ON_WM_PAINT() AFX_WM(WM_PAINT, Void, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() AFX_WM(WM_NCPAINT, Void, void (CWnd::*)(), OnNcPaint)
#define ON_WM_DESTROY() AFX_WM(WM_DESTROY, Void, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM(WM_NCDESTROY, Void, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM(WM_CLOSE, Void, void (CWnd::*)(), OnClose)
#define ON_WM_CANCELMODE() AFX_WM(WM_CANCELMODE, Void, void (CWnd::*)(), OnCancelMode)
#define ON_WM_CAPTURECHANGED() AFX_WM(WM_CAPTURECHANGED, CaptureChanged, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_CREATE() AFX_WM(WM_CREATE, Create, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_TIMER() AFX_WM(WM_TIMER, Timer, void (CWnd::*)(UINT_PTR), OnTimer)
#define AFX_WM_MOUSE(msg, fn) AFX_WM(msg, Mouse, void (CWnd::*)(UINT, CPoint), fn)
#define ON_WM_MOUSEMOVE() AFX_WM_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WM_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCMOUSEMOVE() AFX_WM_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_SIZE() AFX_WM(WM_SIZE, Size, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_WM(WM_MOVE, Move, void (CWnd::*)(int, int), OnMove)
#define ON_WM_ERASEBKGND() AFX_WM(WM_ERASEBKGND, EraseBkgnd, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_CTLCOLOR() AFX_WM(WM_CTLCOLOR, CtlColor, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_SETCURSOR() AFX_WM(WM_SETCURSOR, SetCursor, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_KEYDOWN() AFX_WM(WM_KEYDOWN, Key, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_WM(WM_KEYUP, Key, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_WM(WM_CHAR, Key, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN() AFX_WM(WM_SYSKEYDOWN, Key, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM(WM_SYSKEYUP, Key, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SETFOCUS() AFX_WM(WM_SETFOCUS, Focus, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM(WM_KILLFOCUS, Focus, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_HSCROLL() AFX_WM(WM_HSCROLL, Scroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() AFX_WM(WM_VSCROLL, Scroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_CONTEXTMENU() AFX_WM(WM_CONTEXTMENU, ContextMenu, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_MOUSEWHEEL() AFX_WM(WM_MOUSEWHEEL, MouseWheel, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_NCHITTEST() AFX_WM(WM_NCHITTEST, NcHitTest, LRESULT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_DRAWITEM() AFX_WM(WM_DRAWITEM, DrawItem, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM(WM_MEASUREITEM, MeasureItem, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_DELETEITEM() AFX_WM(WM_DELETEITEM, DeleteItem, void (CWnd::*)(int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_INITMENUPOPUP() AFX_WM(WM_INITMENUPOPUP, InitMenuPopup, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUCHAR() AFX_WM(WM_MENUCHAR, MenuChar, LRESULT (CWnd::*)(UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_DROPFILES() AFX_WM(WM_DROPFILES, DropFiles, void (CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_GETMINMAXINFO() AFX_WM(WM_GETMINMAXINFO, MinMaxInfo, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_SHOWWINDOW() AFX_WM(WM_SHOWWINDOW, ShowWindow, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_ACTIVATE() AFX_WM(WM_ACTIVATE, Activate, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM(WM_WINDOWPOSCHANGING, WindowPos, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM(WM_WINDOWPOSCHANGED, WindowPos, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_NCCALCSIZE() AFX_WM(WM_NCCALCSIZE, NcCalcSize, void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_MOUSEACTIVATE() AFX_WM(WM_MOUSEACTIVATE, MouseActivate, int (CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_SIZING() AFX_WM(WM_SIZING, Sizing, void (CWnd::*)(UINT, LPRECT), OnSizing)
#define ON_WM_STYLECHANGED() AFX_WM(WM_STYLECHANGED, StyleChanged, void (CWnd::*)(int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_SYSCOMMAND() AFX_WM(WM_SYSCOMMAND, SysCommand, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_QUERYNEWPALETTE() AFX_WM(WM_QUERYNEWPALETTE, BoolVoid, BOOL (CWnd::*)(), OnQueryNewPalette)
#define ON_WM_PALETTECHANGED() AFX_WM(WM_PALETTECHANGED, WndArg, void (CWnd::*)(CWnd*), OnPaletteChanged)
#define ON_WM_GETDLGCODE() AFX_WM(WM_GETDLGCODE, UintVoid, UINT (CWnd::*)(), OnGetDlgCode)
