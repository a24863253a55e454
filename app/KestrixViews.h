#pragma once
// The three views of a song document: chord grid, lead sheet and bass
// tablature. Each tells its document when its window goes.
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

class CKestrixView : public CKestrixViewBase {
    DECLARE_DYNCREATE(CKestrixView)
};

class CChordEditView : public CKestrixViewBase {
    DECLARE_DYNCREATE(CChordEditView)
};

class COstrelView : public CKestrixViewBase {
    DECLARE_DYNCREATE(COstrelView)
};
