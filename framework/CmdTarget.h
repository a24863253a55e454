#pragma once
// Command targets: objects with a message map that take part in command
// routing (windows, the application, documents).
#include <windows.h>

#include "framework/MsgMap.h"
#include "framework/Object.h"

class CMenu;

class CCmdTarget : public CObject {
public:
    CCmdTarget() {}
    ~CCmdTarget() override {}

    // Routes a command (nCode: a WM_COMMAND notification code or
    // CN_UPDATE_COMMAND_UI, or MAKELONG(code, WM_NOTIFY) with an AFX_NOTIFY
    // in pExtra) to this object's handler. With pHandlerInfo only reports
    // whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry for (message, code, id) along the chain of maps.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
    // Tries the entries for a window message along the chain; TRUE when one
    // of them handled it.
    BOOL DispatchWindowMessage(AFX_MSGCALL& call);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// State of one user-interface element (menu item or control) during update
// handling.
class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() {}
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }
    // Asks pTarget's update handler; without one the element is disabled
    // when bDisableIfNoHandler is set (menus), left as it is otherwise.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID;
    UINT m_nIndex;
    CMenu* m_pMenu;
    CMenu* m_pSubMenu;
    CWnd* m_pOther;
    UINT m_nIndexMax;
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
};
