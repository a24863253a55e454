#include "Archive.h"

#include <cstdio>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CArchiveException, CException)

int CArchiveException::GetErrorMessage(char* buf, unsigned size, unsigned* pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!buf || !size)
        return 0;
    const char* what = "An unexpected error occurred while reading or writing %s.";
    switch (m_cause) {
    case endOfFile: what = "An attempt was made to read past the end of %s."; break;
    case badIndex: what = "%s contains an invalid value."; break;
    case readOnly: what = "An attempt was made to write to %s while it was being read."; break;
    case writeOnly: what = "An attempt was made to read from %s while it was being written."; break;
    case badClass:
    case badSchema: what = "%s has an unexpected format."; break;
    default: break;
    }
    std::snprintf(buf, size, what, m_strFileName.IsEmpty() ? "the file" : m_strFileName.GetString());
    return 1;
}

CArchive::CArchive(CFile* file, unsigned mode) : m_pDocument(nullptr), m_file(file), m_loading((mode & load) != 0) {}

void CArchive::Throw(int cause) const
{
    throw new CArchiveException(cause, m_file ? m_file->GetFilePath().GetString() : nullptr);
}

void CArchive::CheckLoading() const
{
    if (!m_loading)
        Throw(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (m_loading)
        Throw(CArchiveException::readOnly);
}

unsigned CArchive::Read(void* buf, unsigned count)
{
    CheckLoading();
    return m_file ? m_file->Read(buf, count) : 0;
}

void CArchive::ReadExact(void* buf, unsigned count)
{
    if (Read(buf, count) != count)
        Throw(CArchiveException::endOfFile);
}

void CArchive::Write(const void* buf, unsigned count)
{
    CheckStoring();
    if (!m_file || !m_file->Write(buf, count))
        Throw(CArchiveException::genericException);
}

void CArchive::Flush()
{
    if (m_file && !m_loading)
        m_file->Flush();
}

namespace {
template <class T>
void PutLE(unsigned char* p, T v)
{
    for (unsigned i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<unsigned char>(static_cast<uint64_t>(v) >> (8 * i));
}
template <class T>
T GetLE(const unsigned char* p)
{
    uint64_t v = 0;
    for (unsigned i = 0; i < sizeof(T); ++i)
        v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return static_cast<T>(v);
}
}

CArchive& CArchive::operator<<(bool v) { return *this << static_cast<unsigned char>(v ? 1 : 0); }

CArchive& CArchive::operator<<(unsigned char v)
{
    Write(&v, 1);
    return *this;
}

CArchive& CArchive::operator<<(uint16_t v)
{
    unsigned char b[2];
    PutLE(b, v);
    Write(b, 2);
    return *this;
}

CArchive& CArchive::operator<<(uint32_t v)
{
    unsigned char b[4];
    PutLE(b, v);
    Write(b, 4);
    return *this;
}

CArchive& CArchive::operator<<(uint64_t v)
{
    unsigned char b[8];
    PutLE(b, v);
    Write(b, 8);
    return *this;
}

CArchive& CArchive::operator<<(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return *this << bits;
}

CArchive& CArchive::operator<<(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return *this << bits;
}

CArchive& CArchive::operator<<(const CString& s)
{
    const uint32_t n = static_cast<uint32_t>(s.GetLength());
    // 0xFFFE in the 16-bit slot announces wide characters, so a string of
    // that length must take the 32-bit form.
    if (n < 0xFF) {
        *this << static_cast<unsigned char>(n);
    } else if (n < 0xFFFE) {
        *this << static_cast<unsigned char>(0xFF) << static_cast<uint16_t>(n);
    } else {
        *this << static_cast<unsigned char>(0xFF) << static_cast<uint16_t>(0xFFFF) << n;
    }
    Write(s.GetString(), n);
    return *this;
}

CArchive& CArchive::operator>>(bool& v)
{
    unsigned char b;
    *this >> b;
    v = b != 0;
    return *this;
}

CArchive& CArchive::operator>>(unsigned char& v)
{
    ReadExact(&v, 1);
    return *this;
}

CArchive& CArchive::operator>>(char& v)
{
    unsigned char b;
    *this >> b;
    v = static_cast<char>(b);
    return *this;
}

CArchive& CArchive::operator>>(uint16_t& v)
{
    unsigned char b[2];
    ReadExact(b, 2);
    v = GetLE<uint16_t>(b);
    return *this;
}

CArchive& CArchive::operator>>(int16_t& v)
{
    uint16_t u;
    *this >> u;
    v = static_cast<int16_t>(u);
    return *this;
}

CArchive& CArchive::operator>>(uint32_t& v)
{
    unsigned char b[4];
    ReadExact(b, 4);
    v = GetLE<uint32_t>(b);
    return *this;
}

CArchive& CArchive::operator>>(int32_t& v)
{
    uint32_t u;
    *this >> u;
    v = static_cast<int32_t>(u);
    return *this;
}

CArchive& CArchive::operator>>(uint64_t& v)
{
    unsigned char b[8];
    ReadExact(b, 8);
    v = GetLE<uint64_t>(b);
    return *this;
}

CArchive& CArchive::operator>>(int64_t& v)
{
    uint64_t u;
    *this >> u;
    v = static_cast<int64_t>(u);
    return *this;
}

CArchive& CArchive::operator>>(float& v)
{
    uint32_t bits;
    *this >> bits;
    std::memcpy(&v, &bits, 4);
    return *this;
}

CArchive& CArchive::operator>>(double& v)
{
    uint64_t bits;
    *this >> bits;
    std::memcpy(&v, &bits, 8);
    return *this;
}

uint64_t CArchive::ReadStringLength(bool& wide)
{
    wide = false;
    for (;;) {
        unsigned char b;
        *this >> b;
        if (b < 0xFF)
            return b;
        uint16_t w;
        *this >> w;
        if (w == 0xFFFE) {
            if (wide) // a second marker is no length at all
                Throw(CArchiveException::badIndex);
            wide = true;
            continue;
        }
        if (w < 0xFFFF)
            return w;
        uint32_t d;
        *this >> d;
        if (d < 0xFFFFFFFFu)
            return d;
        uint64_t q;
        *this >> q;
        return q;
    }
}

CArchive& CArchive::operator>>(CString& s)
{
    bool wide = false;
    const uint64_t n = ReadStringLength(wide);
    const uint64_t bytes = wide ? n * 2 : n;
    if (n > 0x7FFFFFFF)
        Throw(CArchiveException::badIndex);
    // A length beyond the end of the file is malformed; refuse it before
    // allocating.
    if (m_file) {
        const int64_t len = m_file->GetLength(), pos = m_file->GetPosition();
        if (len >= 0 && pos >= 0 && bytes > static_cast<uint64_t>(len - pos))
            Throw(CArchiveException::endOfFile);
    }
    if (!wide) {
        CString t;
        if (n) {
            char* p = t.GetBufferSetLength(static_cast<int>(n));
            ReadExact(p, static_cast<unsigned>(n));
            t.ReleaseBuffer(static_cast<int>(n));
        }
        s = t;
        return *this;
    }
    std::vector<unsigned char> raw(static_cast<size_t>(bytes));
    if (bytes)
        ReadExact(raw.data(), static_cast<unsigned>(bytes));
    CString t;
    for (uint64_t i = 0; i < n; ++i) {
        const unsigned c = raw[2 * i] | (raw[2 * i + 1] << 8);
        // Characters of the Latin-1 range map to the same code; the rest has
        // no 8-bit form here.
        t += static_cast<char>(c < 0x100 ? c : '?');
    }
    s = t;
    return *this;
}
