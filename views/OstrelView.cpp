#include "views/OstrelView.h"

IMPLEMENT_DYNCREATE(COstrelView, CKestrixViewBase)
