#include "LangText.h"

#include "LanguageTable.h"

namespace {
const CLanguageTable* g_table = nullptr;
}

void SetLangTextTable(const CLanguageTable* table) { g_table = table; }

CString LangText(int number) { return g_table ? g_table->GetString(number) : CString(); }
