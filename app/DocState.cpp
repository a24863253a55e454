#include "DocState.h"

#include <cstdlib>
#include <mutex>

void SetRowTextIn(std::vector<CString>& rows, const CString& text, int row)
{
    if (row < 0)
        return;
    const CString value = text.IsEmpty() ? CString(EmptySlotMarker) : text;
    if (row < static_cast<int>(rows.size())) {
        rows[row] = value;
        return;
    }
    while (static_cast<int>(rows.size()) < row)
        rows.push_back(EmptySlotMarker);
    rows.push_back(value);
}

CString GetRowTextIn(const std::vector<CString>& rows, int row)
{
    if (row < 0 || row >= static_cast<int>(rows.size()) || rows[row] == EmptySlotMarker)
        return CString();
    return rows[row];
}

namespace {
std::mutex g_namesLock;
std::vector<CString>& HeldNames()
{
    static std::vector<CString> names;
    return names;
}
} // namespace

int CTempWavNames::NumberOf(const CString& name)
{
    CString lower = name;
    lower.MakeLower();
    if (lower.Find("tempwavfile") < 0)
        return -1;
    // The number follows the first 11 characters, as in the names we make.
    return std::atoi(name.Mid(11));
}

CString CTempWavNames::Reserve(const std::vector<CString>& folderFiles)
{
    std::lock_guard<std::mutex> lock(g_namesLock);
    int highest = -1;
    for (const CString& f : folderFiles) {
        const int n = NumberOf(f);
        if (n > highest)
            highest = n;
    }
    for (const CString& f : HeldNames()) {
        const int n = NumberOf(f);
        if (n > highest)
            highest = n;
    }
    CString name;
    name.Format("tempWavFile%d.wav", highest + 1);
    HeldNames().push_back(name);
    return name;
}

void CTempWavNames::Release(const CString& name)
{
    std::lock_guard<std::mutex> lock(g_namesLock);
    auto& held = HeldNames();
    for (size_t i = 0; i < held.size(); ++i)
        if (held[i] == name) {
            held.erase(held.begin() + static_cast<long>(i));
            return;
        }
}
