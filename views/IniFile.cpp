#include "views/IniFile.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/TextConvert.h"

CIniFile::CIniFile(const CString& path) : m_caseInsensitive(true), m_path(path) {}

CIniFile::~CIniFile() = default;

void CIniFile::Clear()
{
    m_sections.clear();
    m_names.clear();
    m_headerComments.clear();
}

bool CIniFile::Load()
{
    Clear();
    std::ifstream f(m_path.GetString());
    if (!f)
        return false;
    IniSection record;
    int sectionCounter = 0;
    bool headerJustRead = false;
    std::string line;
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const unsigned char first = (unsigned char)line[0];
        if (first < 0x20 || first > 0x7E) {
            std::printf("Failing on char %d\n", (int)(signed char)first);
            std::fflush(stdout);
            // The interrupted record is dropped, but every name keeps a record.
            m_sections.resize(m_names.size());
            return false;
        }
        const size_t at = line.find_first_of(";#[=");
        if (at != std::string::npos) {
            const char kind = line[at];
            if (kind == ';' || kind == '#') {
                CString text(line.c_str() + at + 1);
                if (sectionCounter == 0)
                    m_headerComments.push_back(text);
                else
                    record.comments.push_back(text);
            } else if (kind == '=') {
                record.names.push_back(CString(line.c_str(), (int)at));
                record.values.push_back(CString(line.c_str() + at + 1));
            } else {
                const size_t close = line.rfind(']');
                if (close != std::string::npos && close > at) {
                    ++sectionCounter;
                    headerJustRead = true;
                    m_names.push_back(CString(line.c_str() + at + 1, (int)(close - at - 1)));
                }
            }
        }
        if (headerJustRead && sectionCounter > 1) {
            m_sections.push_back(record);
            record = IniSection();
            headerJustRead = false;
        }
    }
    // The last section's record, also when it holds no line, so that names
    // and records always pair up; lines without any header have no section.
    if (m_sections.size() < m_names.size())
        m_sections.push_back(record);
    return !m_names.empty();
}

bool CIniFile::Save() const
{
    std::FILE* f = std::fopen(m_path, "w");
    if (!f)
        return false;
    for (const CString& c : m_headerComments)
        std::fprintf(f, ";%s\n", c.GetString());
    if (!m_headerComments.empty())
        std::fputs("\n", f);
    for (size_t i = 0; i < m_names.size(); ++i) {
        std::fprintf(f, "[%s]\n", m_names[i].GetString());
        if (i < m_sections.size()) {
            const IniSection& s = m_sections[i];
            for (const CString& c : s.comments)
                std::fprintf(f, ";%s\n", c.GetString());
            for (size_t v = 0; v < s.names.size(); ++v)
                std::fprintf(f, "%s=%s\n", s.names[v].GetString(), s.values[v].GetString());
        }
        std::fputs("\n", f);
    }
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

CString CIniFile::Lowered(const CString& name) const
{
    CString out(name);
    if (m_caseInsensitive)
        for (int i = 0; i < out.GetLength(); ++i)
            out.SetAt(i, (char)std::tolower((unsigned char)out[i]));
    return out;
}

int CIniFile::FindSection(const CString& name) const
{
    const CString wanted = Lowered(name);
    for (size_t i = 0; i < m_names.size(); ++i)
        if (Lowered(m_names[i]) == wanted)
            return (int)i;
    return -1;
}

CString CIniFile::GetSectionName(int section) const
{
    return section >= 0 && section < (int)m_names.size() ? m_names[section] : CString();
}

int CIniFile::AddSection(const CString& name)
{
    const int found = FindSection(name);
    if (found >= 0)
        return found;
    m_names.push_back(name);
    m_sections.resize(m_names.size());
    return (int)m_names.size() - 1;
}

bool CIniFile::DeleteSection(int section)
{
    if (section < 0 || section >= (int)m_names.size())
        return false;
    m_names.erase(m_names.begin() + section);
    if (section < (int)m_sections.size())
        m_sections.erase(m_sections.begin() + section);
    return true;
}

int CIniFile::FindValue(int section, const CString& name) const
{
    if (!ValidSection(section))
        return -1;
    const CString wanted = Lowered(name);
    const IniSection& s = m_sections[section];
    for (size_t i = 0; i < s.names.size(); ++i)
        if (Lowered(s.names[i]) == wanted)
            return (int)i;
    return -1;
}

int CIniFile::GetValueCount(int section) const
{
    return ValidSection(section) ? (int)m_sections[section].names.size() : 0;
}

CString CIniFile::GetValueName(int section, int value) const
{
    if (value < 0 || value >= GetValueCount(section))
        return CString();
    return m_sections[section].names[value];
}

CString CIniFile::GetValue(int section, int value) const
{
    if (value < 0 || value >= GetValueCount(section))
        return CString();
    return m_sections[section].values[value];
}

bool CIniFile::SetValue(int section, int value, const CString& text)
{
    if (value < 0 || value >= GetValueCount(section))
        return false;
    m_sections[section].values[value] = text;
    return true;
}

bool CIniFile::DeleteValue(int section, int value)
{
    if (value < 0 || value >= GetValueCount(section))
        return false;
    IniSection& s = m_sections[section];
    s.names.erase(s.names.begin() + value);
    s.values.erase(s.values.begin() + value);
    return true;
}

CString CIniFile::GetValue(const CString& section, const CString& name, const CString& def) const
{
    const int s = FindSection(section);
    const int v = FindValue(s, name);
    return v < 0 ? def : m_sections[s].values[v];
}

int CIniFile::GetValueI(const CString& section, const CString& name, int def) const
{
    const int s = FindSection(section);
    const int v = FindValue(s, name);
    return v < 0 ? def : ParseLeadingInt(m_sections[s].values[v]);
}

double CIniFile::GetValueF(const CString& section, const CString& name, double def) const
{
    const int s = FindSection(section);
    const int v = FindValue(s, name);
    return v < 0 ? def : std::atof(m_sections[s].values[v]);
}

int CIniFile::GetValueV(const CString& section, const CString& name, const char* format, ...) const
{
    const int s = FindSection(section);
    const int v = FindValue(s, name);
    if (v < 0)
        return 0;
    va_list args;
    va_start(args, format);
    const int n = std::vsscanf(m_sections[s].values[v], format, args);
    va_end(args);
    return n < 0 ? 0 : n;
}

bool CIniFile::SetValue(const CString& section, const CString& name, const CString& text, bool create)
{
    int s = FindSection(section);
    if (s < 0) {
        if (!create)
            return false;
        s = AddSection(section);
    }
    int v = FindValue(s, name);
    if (v < 0) {
        if (!create)
            return false;
        m_sections[s].names.push_back(name);
        m_sections[s].values.push_back(text);
        return true;
    }
    m_sections[s].values[v] = text;
    return true;
}

bool CIniFile::SetValueI(const CString& section, const CString& name, int value, bool create)
{
    CString text;
    text.Format("%d", value);
    return SetValue(section, name, text, create);
}

bool CIniFile::SetValueF(const CString& section, const CString& name, double value, bool create)
{
    CString text;
    text.Format("%f", value);
    return SetValue(section, name, text, create);
}

bool CIniFile::SetValueV(const CString& section, const CString& name, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return SetValue(section, name, text);
}

bool CIniFile::DeleteValue(const CString& section, const CString& name)
{
    const int s = FindSection(section);
    return DeleteValue(s, FindValue(s, name));
}

CString CIniFile::GetHeaderComment(int index) const
{
    return index >= 0 && index < (int)m_headerComments.size() ? m_headerComments[index] : CString();
}

bool CIniFile::DeleteHeaderComment(int index)
{
    if (index < 0 || index >= (int)m_headerComments.size())
        return false;
    m_headerComments.erase(m_headerComments.begin() + index);
    return true;
}

int CIniFile::GetSectionCommentCount(int section) const
{
    return ValidSection(section) ? (int)m_sections[section].comments.size() : 0;
}

CString CIniFile::GetSectionComment(int section, int index) const
{
    if (index < 0 || index >= GetSectionCommentCount(section))
        return CString();
    return m_sections[section].comments[index];
}

bool CIniFile::AddSectionComment(int section, const CString& text)
{
    if (!ValidSection(section))
        return false;
    m_sections[section].comments.push_back(text);
    return true;
}

bool CIniFile::DeleteSectionComment(int section, int index)
{
    if (index < 0 || index >= GetSectionCommentCount(section))
        return false;
    std::vector<CString>& c = m_sections[section].comments;
    c.erase(c.begin() + index);
    return true;
}

bool CIniFile::DeleteSectionComments(int section)
{
    if (!ValidSection(section))
        return false;
    m_sections[section].comments.clear();
    return true;
}
