#include "LanguageTable.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "TextConvert.h"

namespace {

// One line without its line end; false at the end of the file. A CR before
// the LF is dropped too, as the Windows runtime's text mode does.
bool ReadLine(std::FILE* f, std::string& line)
{
    line.clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(f)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line += (char)c;
    }
    if (!any)
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

CString SectionName(const std::string& line)
{
    size_t open = line.find('[');
    size_t close = line.find(']');
    if (close == std::string::npos || close < open)
        return CString();
    return CString(line.c_str() + open + 1, (int)(close - open - 1));
}

} // namespace

CLanguageTable::CLanguageTable() : current(-1), m_report(nullptr) {}

void CLanguageTable::Report(const char* text) const
{
    if (m_report)
        m_report(text);
}

void CLanguageTable::Clear() { languages.clear(); }

bool CLanguageTable::Load(const char* path)
{
    Clear();
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        Report("Could not open language file. Default language is used.");
        current = -1;
        return false;
    }
    std::string line;
    bool have = ReadLine(f, line);
    for (;;) {
        while (have && line.find('[') == std::string::npos)
            have = ReadLine(f, line);
        if (!have)
            break;
        Texts texts;
        texts[kNameKey] = SectionName(line);
        // A header on the last line leaves no entry line: that is corrupt.
        if (!ReadLine(f, line))
            line.clear();
        bool finished = true;
        while (line != "end") {
            size_t eq = line.find('=');
            if (eq == std::string::npos) {
                Report("Language file is corrupt.");
                std::fclose(f);
                return false;
            }
            int number = ParseLeadingInt(line.substr(0, eq).c_str());
            texts.emplace(number, CString(line.c_str() + eq + 1));
            if (!ReadLine(f, line)) {
                finished = false;
                break;
            }
        }
        if (!finished)
            break;
        languages.push_back(std::move(texts));
    }
    std::fclose(f);
    return true;
}

std::vector<CString> CLanguageTable::GetLanguageNames() const
{
    std::vector<CString> names;
    for (const Texts& t : languages)
        names.push_back(t.at(kNameKey));
    return names;
}

bool CLanguageTable::SelectIndex(int index)
{
    if (index < 0 || index >= (int)languages.size())
        return false;
    current = index;
    return true;
}

bool CLanguageTable::SelectName(const char* name)
{
    CString wanted(name);
    wanted.MakeLower();
    for (size_t i = 0; i < languages.size(); ++i) {
        CString have = languages[i].at(kNameKey);
        if (have.MakeLower() == wanted) {
            current = (int)i;
            return true;
        }
    }
    return false;
}

CString CLanguageTable::GetString(int number) const
{
    if (current < 0 || current >= (int)languages.size())
        return CString();
    const Texts& t = languages[(size_t)current];
    Texts::const_iterator it = t.find(number);
    return it == t.end() ? CString() : it->second;
}

CString CLanguageTable::GetCurrentName() const { return GetString(kNameKey); }
