#pragma once
// What the three views of a song document share: each tells its document
// when its window goes.
#include "framework/DocView.h"

class CKestrixDoc;

class CKestrixViewBase : public CScrollView {
    DECLARE_DYNAMIC(CKestrixViewBase)
public:
    CKestrixViewBase() : m_pOwnerDoc(nullptr) {}
    ~CKestrixViewBase() override;
    void OnDraw(CDC* pDC) override;
    void SetOwnerDoc(CKestrixDoc* doc) { m_pOwnerDoc = doc; }

protected:
    CKestrixDoc* m_pOwnerDoc; // also while detached
};
