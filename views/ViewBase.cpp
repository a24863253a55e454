#include "views/ViewBase.h"

#include <winspool.h>

#include <vector>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"

IMPLEMENT_DYNAMIC(CKestrixViewBase, CScrollView)

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
