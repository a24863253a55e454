#include "DocState.h"

#include <climits>
#include <cstdlib>
#include <mutex>

#include "app/TextConvert.h"

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
    // Saturating: a huge number in a stray file name must not wrap.
    return ParseLeadingInt(name.Mid(11));
}

CString CTempWavNames::Reserve(const std::vector<CString>& folderFiles)
{
    std::lock_guard<std::mutex> lock(g_namesLock);
    // A number that leaves no room for one above it (INT_MAX, or larger and
    // clamped) is skipped, so the next name never overflows.
    int highest = -1;
    auto consider = [&highest](const CString& f) {
        const int n = NumberOf(f);
        if (n > highest && n < INT_MAX)
            highest = n;
    };
    for (const CString& f : folderFiles)
        consider(f);
    for (const CString& f : HeldNames())
        consider(f);
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
