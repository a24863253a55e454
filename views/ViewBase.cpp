#include "views/ViewBase.h"

#include <winspool.h>

#include <vector>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "framework/MsgMap.h"

IMPLEMENT_DYNAMIC(CKestrixViewBase, CScrollView)

BEGIN_MESSAGE_MAP(CKestrixViewBase, CScrollView)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
END_MESSAGE_MAP()

CKestrixViewBase::~CKestrixViewBase()
{
    if (m_pOwnerDoc)
        m_pOwnerDoc->OnViewGone(this);
}

void CKestrixViewBase::OnDraw(CDC*) {}

DWORD CKestrixViewBase::CountPrinters(DWORD flags, DWORD level)
{
    DWORD needed = 0, count = 0;
    ::EnumPrintersA(flags, nullptr, level, nullptr, 0, &needed, &count);
    if (!needed)
        return 0;
    std::vector<BYTE> buffer(needed);
    if (!::EnumPrintersA(flags, nullptr, level, buffer.data(), needed, &needed, &count))
        return 0;
    return count;
}

void CKestrixViewBase::WarnNoPrinter()
{
    IDocHost* host = GetDocHost();
    host->ShowMessage(host->GetLangString(2), host->GetLangString(122));
}

HWND CKestrixViewBase::FocusedChild() const
{
    HWND focus = ::GetFocus();
    return focus && m_hWnd && ::IsChild(m_hWnd, focus) ? focus : nullptr;
}

void CKestrixViewBase::OnEditUndo()
{
    if (HWND edit = FocusedChild())
        ::SendMessageA(edit, EM_UNDO, 0, 0);
}

void CKestrixViewBase::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    HWND edit = FocusedChild();
    pCmdUI->Enable(edit && ::SendMessageA(edit, EM_CANUNDO, 0, 0));
}
