#pragma once
// The program's numbered texts, from the language table that the application
// object registers at start-up. Portable.

#include "framework/CString.h"

class CLanguageTable;

// The table stays owned by the caller; null unregisters it.
void SetLangTextTable(const CLanguageTable* table);
// "" when no table is registered or the number has no text.
CString LangText(int number);
