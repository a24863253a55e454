#include "views/ViewBase.h"

#include "app/KestrixDoc.h"

IMPLEMENT_DYNAMIC(CKestrixViewBase, CScrollView)

CKestrixViewBase::~CKestrixViewBase()
{
    if (m_pOwnerDoc)
        m_pOwnerDoc->OnViewGone(this);
}

void CKestrixViewBase::OnDraw(CDC*) {}
