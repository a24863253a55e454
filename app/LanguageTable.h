#pragma once
// The numbered texts of every language in "languages.txt". Portable.
//
// File layout: lines before a section header are ignored; a header is any
// line holding "[", the language name being the text between the line's
// first "[" and first "]". Up to a line that is exactly "end" every line is
// "number=text" (number as atoi reads it; the first "=" splits; the first
// occurrence of a number wins). A section the file ends inside is dropped.

#include <map>
#include <vector>

#include "framework/CString.h"

class CLanguageTable {
public:
    // Shows the table's own error messages (the texts cannot be used then).
    typedef void (*Reporter)(const char* text);

    CLanguageTable();

    void SetReporter(Reporter report) { m_report = report; }

    void Clear();
    bool Load(const char* path);

    std::vector<CString> GetLanguageNames() const;
    int GetLanguageCount() const { return (int)languages.size(); }
    bool SelectIndex(int index);
    bool SelectName(const char* name);
    CString GetString(int number) const;
    CString GetCurrentName() const;

    // Index of the selected language, -1 for none.
    int current;

private:
    // The language's own name is kept under this number.
    static constexpr int kNameKey = -1;
    typedef std::map<int, CString> Texts;

    void Report(const char* text) const;

    std::vector<Texts> languages;
    Reporter m_report;
};
