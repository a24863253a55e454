#include "views/KestrixView.h"

IMPLEMENT_DYNCREATE(CKestrixView, CKestrixViewBase)
