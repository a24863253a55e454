#pragma once
// A small reader and writer of INI-style text files: named sections of
// name=value lines and comment lines, plus comment lines ahead of the first
// section. Everything is kept as text, exactly as in the file apart from the
// line end (no trimming, no unquoting). Portable.
#include <vector>

#include "framework/CString.h"

// The record of one section; names and values share their index.
struct IniSection {
    std::vector<CString> names;
    std::vector<CString> values;
    std::vector<CString> comments;
};

class CIniFile {
public:
    explicit CIniFile(const CString& path = CString());
    virtual ~CIniFile();

    void SetPath(const CString& path) { m_path = path; }
    CString GetPath() const { return m_path; }
    // Lookups by name compare lower-cased names unless switched off.
    void SetCaseInsensitive(bool on) { m_caseInsensitive = on; }

    // Parses the file into the lists; true when a section header was read.
    // A line that starts with a byte outside printable ASCII stops the parse
    // (false); what was read before it stays. After Load there is one record
    // per section name.
    bool Load();
    // Writes the header comments, then every section with its comments and
    // lines; false when the file cannot be written.
    bool Save() const;
    void Clear();

    int GetSectionCount() const { return (int)m_names.size(); }
    std::vector<IniSection> GetSections() const { return m_sections; }
    std::vector<CString> GetSectionNames() const { return m_names; }

    // Sections.
    int FindSection(const CString& name) const; // -1 when absent
    CString GetSectionName(int section) const;
    int AddSection(const CString& name); // the existing index or a new one
    bool DeleteSection(int section);
    bool DeleteSection(const CString& name) { return DeleteSection(FindSection(name)); }

    // Values by indexes.
    int FindValue(int section, const CString& name) const; // -1 when absent
    int GetValueCount(int section) const;
    CString GetValueName(int section, int value) const;
    CString GetValue(int section, int value) const;
    bool SetValue(int section, int value, const CString& text);
    bool DeleteValue(int section, int value);

    // Values by names; a missing entry gives the default.
    CString GetValue(const CString& section, const CString& name, const CString& def = CString()) const;
    int GetValueI(const CString& section, const CString& name, int def = 0) const;
    double GetValueF(const CString& section, const CString& name, double def = 0.0) const;
    // scanf-style reading of the value; the number of fields converted, 0
    // when the entry is missing.
    int GetValueV(const CString& section, const CString& name, const char* format, ...) const
#if defined(__GNUC__)
        __attribute__((format(scanf, 4, 5)))
#endif
        ;
    // create: a missing section or name is added; otherwise false.
    bool SetValue(const CString& section, const CString& name, const CString& text, bool create = true);
    bool SetValueI(const CString& section, const CString& name, int value, bool create = true);
    bool SetValueF(const CString& section, const CString& name, double value, bool create = true);
    bool SetValueV(const CString& section, const CString& name, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 4, 5)))
#endif
        ;
    bool DeleteValue(const CString& section, const CString& name);

    // Comments ahead of the first section.
    int GetHeaderCommentCount() const { return (int)m_headerComments.size(); }
    CString GetHeaderComment(int index) const;
    void AddHeaderComment(const CString& text) { m_headerComments.push_back(text); }
    bool DeleteHeaderComment(int index);
    void DeleteHeaderComments() { m_headerComments.clear(); }

    // Comments of a section.
    int GetSectionCommentCount(int section) const;
    CString GetSectionComment(int section, int index) const;
    bool AddSectionComment(int section, const CString& text);
    bool DeleteSectionComment(int section, int index);
    bool DeleteSectionComments(int section);

private:
    CString Lowered(const CString& name) const;
    bool ValidSection(int section) const { return section >= 0 && section < (int)m_sections.size(); }

    bool m_caseInsensitive;
    CString m_path;
    std::vector<IniSection> m_sections;
    std::vector<CString> m_names;
    std::vector<CString> m_headerComments;
};
