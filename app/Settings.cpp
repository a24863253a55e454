#include "Settings.h"

#include <cstdio>
#include <string>

#include "TextConvert.h"

namespace {

// Whole file with CR LF turned into LF (the runtime's text mode); false when
// it cannot be opened.
bool ReadText(const char* path, std::string& text)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    text.clear();
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    text.swap(out);
    return true;
}

bool WriteText(const char* path, const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

} // namespace

CString StripOneSeparator(const CString& folder)
{
    int n = folder.GetLength();
    if (n > 0 && (folder[n - 1] == '\\' || folder[n - 1] == '/'))
        return folder.Left(n - 1);
    return folder;
}

CString CInstallFolder::GetNormalised()
{
    CString folder = m_source.QueryStoredFolder();
    if (folder.IsEmpty()) {
        m_source.ReportEmptyFolder();
        folder = m_source.GetSystemFolder();
    }
    return StripOneSeparator(folder);
}

int CSettingsFile::Read(const char* path, const char* name)
{
    std::string text;
    if (!ReadText(path, text))
        return -1;
    const std::string pattern = std::string("[") + name + "]";
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (line.empty())
            break;
        if (line.find(pattern) != std::string::npos) {
            size_t eq = line.find('=');
            return eq == std::string::npos ? 0 : ParseLeadingInt(line.c_str() + eq + 1);
        }
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return -1;
}

bool CSettingsFile::Write(const char* path, const char* name, int value)
{
    const std::string key = std::string("[") + name + "]=";
    char number[16];
    std::snprintf(number, sizeof number, "%d", value);
    const std::string entry = key + number;

    std::string text;
    if (!ReadText(path, text))
        return WriteText(path, entry + "\n");
    size_t at = text.find(key);
    if (at == std::string::npos) {
        // A last line without its line end must not run into the new one.
        if (!text.empty() && text.back() != '\n')
            text += '\n';
        text += entry + "\n";
    } else {
        size_t lineEnd = text.find('\n', at);
        text = text.substr(0, at) + entry + (lineEnd == std::string::npos ? "" : text.substr(lineEnd));
    }
    return WriteText(path, text);
}
