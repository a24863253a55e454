#pragma once
// Binary files of the framework layer. Portable (C runtime I/O).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "CString.h"

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    CFile(const char* path, unsigned flags); // check IsOpen()
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual bool Open(const char* path, unsigned flags);
    virtual void Close();
    virtual bool IsOpen() const { return m_fp != nullptr; }

    // Bytes actually read; 0 at the end or on error.
    virtual unsigned Read(void* buf, unsigned count);
    // True when every byte was written.
    virtual bool Write(const void* buf, unsigned count);
    // New position, or -1.
    virtual int64_t Seek(int64_t offset, SeekPosition from);
    virtual int64_t GetPosition() const;
    virtual int64_t GetLength() const;
    virtual bool Flush();

    CString GetFilePath() const { return m_path; }

    static bool Remove(const char* path);
    static bool Rename(const char* from, const char* to);

private:
    std::FILE* m_fp;
    CString m_path;
};

// A file held in memory: the archive tests and in-memory documents.
class CMemFile : public CFile {
public:
    CMemFile() : m_pos(0) {}
    CMemFile(const void* data, size_t size);

    bool Open(const char*, unsigned) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    unsigned Read(void* buf, unsigned count) override;
    bool Write(const void* buf, unsigned count) override;
    int64_t Seek(int64_t offset, SeekPosition from) override;
    int64_t GetPosition() const override { return static_cast<int64_t>(m_pos); }
    int64_t GetLength() const override { return static_cast<int64_t>(m_data.size()); }
    bool Flush() override { return true; }

    const std::vector<unsigned char>& Data() const { return m_data; }

private:
    std::vector<unsigned char> m_data;
    size_t m_pos;
};
