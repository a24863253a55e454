#pragma once
// The chord grid.
#include "views/ViewBase.h"

class CKestrixView : public CKestrixViewBase {
    DECLARE_DYNCREATE(CKestrixView)
};
