#include "app/FileVersion.h"

#include <vector>

#include "app/VersionTranslation.h"

namespace {
const char* const kFieldNames[CFileVersionInfo::kFieldCount] = {
    "Comments",     "CompanyName",      "FileDescription", "FileVersion",   "InternalName",    "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "PrivateBuild",  "ProductName", "ProductVersion", "SpecialBuild"};

// The file's whole version block; empty when it has none.
std::vector<char> ReadVersionBlock(const char* fileName)
{
    std::vector<char> block;
    DWORD handle = 0;
    const DWORD size = fileName ? ::GetFileVersionInfoSizeA(fileName, &handle) : 0;
    if (size == 0)
        return block;
    block.assign(size, 0);
    if (!::GetFileVersionInfoA(fileName, 0, size, block.data()))
        block.clear();
    return block;
}

struct Translation {
    WORD language;
    WORD codePage;
};

std::vector<Translation> Translations(std::vector<char>& block)
{
    std::vector<Translation> out;
    void* data = nullptr;
    UINT len = 0;
    if (::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &data, &len) && data)
        out.assign((Translation*)data, (Translation*)data + len / sizeof(Translation));
    return out;
}

CString QueryString(std::vector<char>& block, const Translation& t, const char* name)
{
    CString key;
    key.Format("\\StringFileInfo\\%04x%04x\\%s", t.language, t.codePage, name);
    void* data = nullptr;
    UINT len = 0;
    if (::VerQueryValueA(block.data(), key, &data, &len) && data && len > 0)
        return CString((const char*)data);
    return CString();
}
} // namespace

CString GetFileVersionString(const char* fileName)
{
    std::vector<char> block = ReadVersionBlock(fileName);
    if (block.empty())
        return "Corrupt";
    const std::vector<Translation> translations = Translations(block);
    if (translations.empty())
        return "Corrupt";
    const CString version = QueryString(block, translations.front(), "FileVersion");
    return version.IsEmpty() ? CString("Corrupt") : version;
}

CFileVersionInfo::CFileVersionInfo() { Reset(); }

CFileVersionInfo::~CFileVersionInfo() = default;

void CFileVersionInfo::Reset()
{
    ZeroMemory(&m_fixed, sizeof m_fixed);
    for (CString& s : m_strings)
        s.Empty();
}

bool CFileVersionInfo::Create(HMODULE module)
{
    char path[MAX_PATH] = "";
    const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    return n > 0 && n < MAX_PATH && Create(path);
}

bool CFileVersionInfo::Create(const char* fileName)
{
    Reset();
    std::vector<char> block = ReadVersionBlock(fileName);
    if (block.empty())
        return false;
    void* fixed = nullptr;
    UINT len = 0;
    if (!::VerQueryValueA(block.data(), "\\", &fixed, &len) || !fixed || len < sizeof m_fixed)
        return false;
    m_fixed = *(const VS_FIXEDFILEINFO*)fixed;
    const std::vector<Translation> translations = Translations(block);
    std::vector<uint16_t> languages;
    for (const Translation& t : translations)
        languages.push_back(t.language);
    const int chosen = ChooseVersionTranslation(languages, ::GetUserDefaultLangID());
    if (chosen < 0)
        return false;
    for (int f = 0; f < kFieldCount; ++f)
        m_strings[f] = QueryString(block, translations[(size_t)chosen], kFieldNames[f]);
    return true;
}
