#include "views/ChordEditView.h"

IMPLEMENT_DYNCREATE(CChordEditView, CKestrixViewBase)
