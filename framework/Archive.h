#pragma once
// Binary archive of the framework layer: little-endian values and the
// length-prefixed string form that stored documents depend on. Portable.

#include <cstdint>

#include "CString.h"
#include "File.h"
#include "Object.h"

class CDocument;

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum Cause {
        none = 0,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
    };
    explicit CArchiveException(int cause = none, const char* fileName = nullptr)
        : m_cause(cause), m_strFileName(fileName)
    {
    }
    int GetErrorMessage(char* lpszError, unsigned nMaxError, unsigned* pnHelpContext = nullptr) override;

    int m_cause;
    CString m_strFileName;
};

class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    // The archive neither opens nor closes the file.
    CArchive(CFile* file, unsigned mode);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    CFile* GetFile() const { return m_file; }

    // Failures throw a new CArchiveException (caught as a pointer, freed
    // with Delete).
    // Raw bytes. Read returns what was there; ReadExact throws endOfFile
    // unless every byte arrives; Write throws on a write failure.
    unsigned Read(void* buf, unsigned count);
    void ReadExact(void* buf, unsigned count);
    void Write(const void* buf, unsigned count);
    void Flush();
    void Close() { Flush(); }

    CArchive& operator<<(bool v);
    CArchive& operator<<(unsigned char v);
    CArchive& operator<<(char v) { return *this << static_cast<unsigned char>(v); }
    CArchive& operator<<(uint16_t v);
    CArchive& operator<<(int16_t v) { return *this << static_cast<uint16_t>(v); }
    CArchive& operator<<(uint32_t v);
    CArchive& operator<<(int32_t v) { return *this << static_cast<uint32_t>(v); }
    CArchive& operator<<(uint64_t v);
    CArchive& operator<<(int64_t v) { return *this << static_cast<uint64_t>(v); }
#if defined(_WIN32)
    // LONG and DWORD are 32 bits there.
    CArchive& operator<<(long v) { return *this << static_cast<int32_t>(v); }
    CArchive& operator<<(unsigned long v) { return *this << static_cast<uint32_t>(v); }
#endif
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const CString& s);
    CArchive& operator<<(const char* s) { return *this << CString(s); }

    // A non-zero byte reads as true.
    CArchive& operator>>(bool& v);
    CArchive& operator>>(unsigned char& v);
    CArchive& operator>>(char& v);
    CArchive& operator>>(uint16_t& v);
    CArchive& operator>>(int16_t& v);
    CArchive& operator>>(uint32_t& v);
    CArchive& operator>>(int32_t& v);
    CArchive& operator>>(uint64_t& v);
    CArchive& operator>>(int64_t& v);
#if defined(_WIN32)
    CArchive& operator>>(long& v)
    {
        int32_t t;
        *this >> t;
        v = t;
        return *this;
    }
    CArchive& operator>>(unsigned long& v)
    {
        uint32_t t;
        *this >> t;
        v = t;
        return *this;
    }
#endif
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    // Throws endOfFile on a short read and badIndex on a length the file
    // cannot hold or above 31 bits.
    CArchive& operator>>(CString& s);

    CDocument* m_pDocument;

private:
    void CheckLoading() const;
    void CheckStoring() const;
    uint64_t ReadStringLength(bool& wide);
    [[noreturn]] void Throw(int cause) const;

    CFile* m_file;
    bool m_loading;
};
