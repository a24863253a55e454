#pragma once
// The bass tablature.
#include "views/ViewBase.h"

class COstrelView : public CKestrixViewBase {
    DECLARE_DYNCREATE(COstrelView)
};
