#include "CString.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
// Shared empty string: header {0, 0} followed by a zero byte.
struct EmptyRep {
    int length;
    int capacity;
    char text[8];
};
EmptyRep g_empty = {0, 0, {0}};
} // namespace

void CString::SetEmpty() { m_psz = g_empty.text; }

// The shared empty string is never passed to free (its capacity is 0),
// which the compiler cannot see.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wfree-nonheap-object"
#endif
void CString::Free()
{
    if (Hdr()->capacity != 0)
        std::free(Hdr());
    SetEmpty();
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

void CString::Reserve(int capacity, bool keep)
{
    Header* old = Hdr();
    if (old->capacity != 0 && old->capacity >= capacity)
        return;
    int grow = old->capacity + old->capacity / 2;
    if (capacity < grow)
        capacity = grow;
    if (capacity < 15)
        capacity = 15;
    Header* h = static_cast<Header*>(std::malloc(sizeof(Header) + (size_t)capacity + 1));
    if (!h)
        throw std::bad_alloc();
    h->capacity = capacity;
    char* text = reinterpret_cast<char*>(h + 1);
    if (keep) {
        h->length = old->length;
        std::memcpy(text, m_psz, (size_t)old->length + 1);
    } else {
        h->length = 0;
        text[0] = 0;
    }
    if (old->capacity != 0)
        std::free(old);
    m_psz = text;
}

void CString::Assign(const char* p, int n)
{
    if (n <= 0) {
        Empty();
        return;
    }
    if (p >= m_psz && p <= m_psz + GetLength()) {
        CString tmp(p, n); // source lies inside our own buffer
        *this = static_cast<CString&&>(tmp);
        return;
    }
    Reserve(n, false);
    std::memcpy(m_psz, p, (size_t)n);
    m_psz[n] = 0;
    Hdr()->length = n;
}

void CString::Append(const char* p, int n)
{
    if (n <= 0)
        return;
    int len = GetLength();
    if (p >= m_psz && p <= m_psz + len) {
        CString tmp(p, n);
        Append(tmp.m_psz, n);
        return;
    }
    Reserve(len + n, true);
    std::memcpy(m_psz + len, p, (size_t)n);
    m_psz[len + n] = 0;
    Hdr()->length = len + n;
}

CString::CString() { SetEmpty(); }
CString::CString(const CString& s) { SetEmpty(); Assign(s.m_psz, s.GetLength()); }
CString::CString(CString&& s) noexcept : m_psz(s.m_psz) { s.SetEmpty(); }
CString::CString(const char* psz) { SetEmpty(); if (psz) Assign(psz, (int)std::strlen(psz)); }
CString::CString(const char* p, int count)
{
    SetEmpty();
    if (p && count > 0)
        Assign(p, count);
}
CString::CString(char ch, int repeat)
{
    SetEmpty();
    if (repeat > 0) {
        Reserve(repeat, false);
        std::memset(m_psz, ch, (size_t)repeat);
        m_psz[repeat] = 0;
        Hdr()->length = repeat;
    }
}
CString::~CString() { Free(); }

CString& CString::operator=(const CString& s)
{
    if (this != &s)
        Assign(s.m_psz, s.GetLength());
    return *this;
}
CString& CString::operator=(CString&& s) noexcept
{
    if (this != &s) {
        Free();
        m_psz = s.m_psz;
        s.SetEmpty();
    }
    return *this;
}
CString& CString::operator=(const char* psz)
{
    if (!psz) { Empty(); return *this; }
    Assign(psz, (int)std::strlen(psz));
    return *this;
}
CString& CString::operator=(char ch) { Assign(&ch, 1); return *this; }

void CString::Empty()
{
    if (Hdr()->capacity != 0) {
        m_psz[0] = 0;
        Hdr()->length = 0;
    }
}

void CString::SetAt(int i, char ch)
{
    if (i >= 0 && i < GetLength())
        m_psz[i] = ch;
}

CString& CString::operator+=(const CString& s) { Append(s.m_psz, s.GetLength()); return *this; }
CString& CString::operator+=(const char* psz) { if (psz) Append(psz, (int)std::strlen(psz)); return *this; }
CString& CString::operator+=(char ch) { Append(&ch, 1); return *this; }

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

int CString::Compare(const char* psz) const { return std::strcmp(m_psz, psz ? psz : ""); }

int CString::CompareNoCase(const char* psz) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_psz);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(psz ? psz : "");
    for (;; ++a, ++b) {
        int ca = std::tolower(*a), cb = std::tolower(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

void CString::FormatV(const char* fmt, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) {
        Empty();
        return;
    }
    CString out;
    out.Reserve(n, false);
    std::vsnprintf(out.m_psz, (size_t)n + 1, fmt, args);
    out.Hdr()->length = n;
    *this = static_cast<CString&&>(out);
}

void CString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::AppendFormat(const char* fmt, ...)
{
    CString more;
    va_list args;
    va_start(args, fmt);
    more.FormatV(fmt, args);
    va_end(args);
    *this += more;
}

CString CString::Left(int count) const
{
    if (count < 0) count = 0;
    if (count >= GetLength()) return *this;
    return CString(m_psz, count);
}

CString CString::Right(int count) const
{
    int len = GetLength();
    if (count < 0) count = 0;
    if (count >= len) return *this;
    return CString(m_psz + len - count, count);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    int len = GetLength();
    if (first < 0) first = 0;
    if (first > len) first = len;
    if (count < 0) count = 0;
    if (count > len - first) count = len - first;
    return CString(m_psz + first, count);
}

int CString::Find(char ch, int start) const
{
    if (start < 0) start = 0;
    for (int i = start; i < GetLength(); ++i)
        if (m_psz[i] == ch) return i;
    return -1;
}

int CString::Find(const char* sub, int start) const
{
    if (!sub) return -1;
    if (start < 0) start = 0;
    if (start > GetLength()) return -1;
    const char* p = std::strstr(m_psz + start, sub);
    return p ? (int)(p - m_psz) : -1;
}

int CString::ReverseFind(char ch) const
{
    for (int i = GetLength() - 1; i >= 0; --i)
        if (m_psz[i] == ch) return i;
    return -1;
}

int CString::FindOneOf(const char* set) const
{
    if (!set) return -1;
    for (int i = 0; i < GetLength(); ++i)
        if (std::strchr(set, m_psz[i])) return i;
    return -1;
}

CString& CString::MakeLower()
{
    for (int i = 0; i < GetLength(); ++i)
        m_psz[i] = (char)std::tolower((unsigned char)m_psz[i]);
    return *this;
}

CString& CString::MakeUpper()
{
    for (int i = 0; i < GetLength(); ++i)
        m_psz[i] = (char)std::toupper((unsigned char)m_psz[i]);
    return *this;
}

CString& CString::MakeReverse()
{
    for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) {
        char t = m_psz[i]; m_psz[i] = m_psz[j]; m_psz[j] = t;
    }
    return *this;
}

CString& CString::TrimLeft()
{
    int i = 0;
    while (i < GetLength() && std::isspace((unsigned char)m_psz[i])) ++i;
    Delete(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    int n = GetLength();
    while (n > 0 && std::isspace((unsigned char)m_psz[n - 1])) --n;
    if (n < GetLength()) { m_psz[n] = 0; Hdr()->length = n; }
    return *this;
}

CString& CString::TrimLeft(char ch)
{
    int i = 0;
    while (i < GetLength() && m_psz[i] == ch) ++i;
    Delete(0, i);
    return *this;
}

CString& CString::TrimRight(char ch)
{
    int n = GetLength();
    while (n > 0 && m_psz[n - 1] == ch) --n;
    if (n < GetLength()) { m_psz[n] = 0; Hdr()->length = n; }
    return *this;
}

int CString::Replace(const char* oldText, const char* newText)
{
    if (!oldText || !*oldText) return 0;
    if (!newText) newText = "";
    int oldLen = (int)std::strlen(oldText);
    int newLen = (int)std::strlen(newText);
    int count = 0;
    CString out;
    int i = 0;
    while (i < GetLength()) {
        const char* p = std::strstr(m_psz + i, oldText);
        if (!p) break;
        int at = (int)(p - m_psz);
        out.Append(m_psz + i, at - i);
        out.Append(newText, newLen);
        i = at + oldLen;
        ++count;
    }
    if (count) {
        out.Append(m_psz + i, GetLength() - i);
        *this = static_cast<CString&&>(out);
    }
    return count;
}

int CString::Replace(char oldCh, char newCh)
{
    int count = 0;
    for (int i = 0; i < GetLength(); ++i)
        if (m_psz[i] == oldCh) { m_psz[i] = newCh; ++count; }
    return count;
}

int CString::Remove(char ch)
{
    int w = 0, len = GetLength();
    for (int r = 0; r < len; ++r)
        if (m_psz[r] != ch) m_psz[w++] = m_psz[r];
    if (w != len) { m_psz[w] = 0; Hdr()->length = w; }
    return len - w;
}

int CString::Insert(int index, const char* psz)
{
    int len = GetLength();
    if (index < 0) index = 0;
    if (index > len) index = len;
    CString out(m_psz, index);
    out += psz;
    out.Append(m_psz + index, len - index);
    *this = static_cast<CString&&>(out);
    return GetLength();
}

int CString::Insert(int index, char ch)
{
    char buf[2] = {ch, 0};
    return Insert(index, buf);
}

int CString::Delete(int index, int count)
{
    int len = GetLength();
    if (index < 0) index = 0;
    if (count <= 0 || index >= len) return len;
    if (count > len - index) count = len - index;
    std::memmove(m_psz + index, m_psz + index + count, (size_t)(len - index - count) + 1);
    Hdr()->length = len - count;
    return len - count;
}

char* CString::GetBuffer(int minLength)
{
    if (minLength < GetLength()) minLength = GetLength();
    Reserve(minLength, true);
    return m_psz;
}

char* CString::GetBufferSetLength(int length)
{
    if (length < 0) length = 0;
    GetBuffer(length);
    m_psz[length] = 0;
    Hdr()->length = length;
    return m_psz;
}

void CString::ReleaseBuffer(int newLength)
{
    if (Hdr()->capacity == 0)
        return;
    if (newLength < 0 || newLength > Hdr()->capacity)
        newLength = (int)strnlen(m_psz, (size_t)Hdr()->capacity);
    m_psz[newLength] = 0;
    Hdr()->length = newLength;
}

bool operator==(const CString& a, const CString& b) { return a.GetLength() == b.GetLength() && a.Compare(b) == 0; }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
