#pragma once
// The lead sheet.
#include "views/ViewBase.h"

class CChordEditView : public CKestrixViewBase {
    DECLARE_DYNCREATE(CChordEditView)
};
