#include "framework/CmdTarget.h"

#include "framework/Menu.h"
#include "framework/Wnd.h"

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

namespace {
const AFX_MSGMAP* BaseOf(const AFX_MSGMAP* map) { return map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr; }
} // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = BaseOf(map)) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage || e->pfnThunk; ++e) {
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchWindowMessage(AFX_MSGCALL& call)
{
    const bool registered = call.message >= 0xC000 && call.message <= 0xFFFF;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = BaseOf(map)) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage || e->pfnThunk; ++e) {
            bool match = e->nMessage == call.message && e->nCode == 0 && e->nID == 0;
            if (registered && e->nMessage == AFX_REGISTERED_MESSAGE)
                match = true; // the thunk checks the number
            if (match && e->pfnThunk(this, e->pfn, call))
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message = WM_COMMAND;
    UINT code = (UINT)nCode;
    if ((UINT)nCode != CN_UPDATE_COMMAND_UI && HIWORD(nCode) != 0) {
        message = HIWORD(nCode);
        code = LOWORD(nCode);
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = BaseOf(map)) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage || e->pfnThunk; ++e) {
            if (e->nMessage != message || nID < e->nID || nID > e->nLastID)
                continue;
            // Notification codes of WM_NOTIFY are negative ints; compare the
            // low word that the packed code keeps.
            UINT entryCode = message == WM_NOTIFY ? LOWORD(e->nCode) : e->nCode;
            if (entryCode != code)
                continue;
            if (pHandlerInfo) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pmf = e->pfn;
                return TRUE;
            }
            AFX_MSGCALL call = {};
            call.message = message;
            call.nID = nID;
            call.nCode = code;
            call.pExtra = pExtra;
            if (e->pfnThunk(this, e->pfn, call))
                return TRUE;
        }
    }
    return FALSE;
}

// --- CCmdUI

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pOther(nullptr), m_nIndexMax(0),
      m_bEnableChanged(FALSE), m_bContinueRouting(FALSE)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // Never leave the focus on a control being disabled.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            if (parent)
                ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
            m_pOther->SendMessage(BM_SETCHECK, (WPARAM)nCheck);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu && !m_pSubMenu) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii)) {
            mii.fType = bOn ? (mii.fType | MFT_RADIOCHECK) : (mii.fType & ~MFT_RADIOCHECK);
            SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
        }
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (m_pMenu) {
        if (!m_pSubMenu) {
            UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
            state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | MF_HILITE | MF_DEFAULT |
                       MF_SYSMENU | MF_HELP);
            m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
        }
    } else if (m_pOther) {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE; // separators and submenus
    m_bEnableChanged = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}
