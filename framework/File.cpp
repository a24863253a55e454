#include "File.h"

#include <cstdio>
#include <cstring>

CFile::CFile() : m_fp(nullptr) {}

CFile::CFile(const char* path, unsigned flags) : m_fp(nullptr) { Open(path, flags); }

CFile::~CFile() { Close(); }

bool CFile::Open(const char* path, unsigned flags)
{
    Close();
    if (!path || !*path)
        return false;
    const bool write = (flags & (modeWrite | modeReadWrite)) != 0;
    const char* mode = "rb";
    if (write) {
        if ((flags & modeCreate) && !(flags & modeNoTruncate))
            mode = (flags & modeReadWrite) ? "w+b" : "wb";
        else {
            mode = "r+b";
            if (flags & modeCreate) {
                // Create if missing, keep the contents otherwise.
                std::FILE* probe = std::fopen(path, "ab");
                if (!probe)
                    return false;
                std::fclose(probe);
            }
        }
    }
    m_fp = std::fopen(path, mode);
    if (!m_fp)
        return false;
    m_path = path;
    return true;
}

void CFile::Close()
{
    if (m_fp) {
        std::fclose(m_fp);
        m_fp = nullptr;
    }
}

unsigned CFile::Read(void* buf, unsigned count)
{
    if (!m_fp || count == 0)
        return 0;
    return static_cast<unsigned>(std::fread(buf, 1, count, m_fp));
}

bool CFile::Write(const void* buf, unsigned count)
{
    if (!m_fp)
        return false;
    return count == 0 || std::fwrite(buf, 1, count, m_fp) == count;
}

int64_t CFile::Seek(int64_t offset, SeekPosition from)
{
    if (!m_fp)
        return -1;
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    if (std::fseek(m_fp, static_cast<long>(offset), whence) != 0)
        return -1;
    return GetPosition();
}

int64_t CFile::GetPosition() const
{
    if (!m_fp)
        return -1;
    return std::ftell(m_fp);
}

int64_t CFile::GetLength() const
{
    if (!m_fp)
        return -1;
    const long here = std::ftell(m_fp);
    if (std::fseek(m_fp, 0, SEEK_END) != 0)
        return -1;
    const long size = std::ftell(m_fp);
    std::fseek(m_fp, here, SEEK_SET);
    return size;
}

bool CFile::Flush() { return m_fp && std::fflush(m_fp) == 0; }

bool CFile::Remove(const char* path) { return path && std::remove(path) == 0; }

bool CFile::Rename(const char* from, const char* to) { return std::rename(from, to) == 0; }

CMemFile::CMemFile(const void* data, size_t size)
    : m_data(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size), m_pos(0)
{
}

unsigned CMemFile::Read(void* buf, unsigned count)
{
    if (m_pos >= m_data.size())
        return 0;
    size_t n = m_data.size() - m_pos;
    if (n > count)
        n = count;
    std::memcpy(buf, m_data.data() + m_pos, n);
    m_pos += n;
    return static_cast<unsigned>(n);
}

bool CMemFile::Write(const void* buf, unsigned count)
{
    if (m_pos + count > m_data.size())
        m_data.resize(m_pos + count);
    if (count)
        std::memcpy(m_data.data() + m_pos, buf, count);
    m_pos += count;
    return true;
}

int64_t CMemFile::Seek(int64_t offset, SeekPosition from)
{
    const int64_t base = from == begin ? 0 : from == current ? static_cast<int64_t>(m_pos)
                                                             : static_cast<int64_t>(m_data.size());
    const int64_t to = base + offset;
    if (to < 0)
        return -1;
    m_pos = static_cast<size_t>(to);
    return to;
}
