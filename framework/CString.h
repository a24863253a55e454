#pragma once
// 8-bit string of the framework layer. Portable (no windows.h).
//
// The buffer comes from the C runtime's malloc, which every module of a
// process shares, so a CString built in one DLL may be freed in another.
// The shared empty string is marked by a zero capacity and never freed.

#include <cstddef>
#include <cstdarg>

class CString {
public:
    CString();
    CString(const CString& s);
    CString(CString&& s) noexcept;
    CString(const char* psz);
    CString(const char* p, int count);
    CString(char ch, int repeat = 1);
    ~CString();

    CString& operator=(const CString& s);
    CString& operator=(CString&& s) noexcept;
    CString& operator=(const char* psz);
    CString& operator=(char ch);

    int GetLength() const { return Hdr()->length; }
    bool IsEmpty() const { return GetLength() == 0; }
    void Empty();

    operator const char*() const { return m_psz; }
    const char* GetString() const { return m_psz; }
    char GetAt(int i) const { return m_psz[i]; }
    char operator[](int i) const { return m_psz[i]; }
    void SetAt(int i, char ch);

    CString& operator+=(const CString& s);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    int Compare(const char* psz) const;
    int CompareNoCase(const char* psz) const;

    // printf-style; returns nothing, like the framework's.
    void Format(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* fmt, va_list args);
    void AppendFormat(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // Counts and positions out of range are clamped.
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { TrimRight(); return TrimLeft(); }
    CString& TrimLeft(char ch);
    CString& TrimRight(char ch);
    int Replace(const char* oldText, const char* newText);
    int Replace(char oldCh, char newCh);
    int Remove(char ch);
    int Insert(int index, const char* psz);
    int Insert(int index, char ch);
    int Delete(int index, int count = 1);

    // Room for at least minLength characters plus the terminator.
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    // newLength -1: the length up to the first zero byte.
    void ReleaseBuffer(int newLength = -1);

private:
    struct Header {
        int length;
        int capacity; // 0: the shared empty string
    };
    Header* Hdr() const { return reinterpret_cast<Header*>(m_psz) - 1; }
    void Assign(const char* p, int n);
    void Append(const char* p, int n);
    void Reserve(int capacity, bool keep);
    void Free();
    void SetEmpty();

    char* m_psz;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);
