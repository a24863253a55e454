#include "FileReadStream.h"

HRESULT HResultFromLastError()
{
    DWORD err = GetLastError();
    if ((LONG)err > 0)
        return (HRESULT)(0x80070000u | (err & 0xFFFF));
    // 0 would read as success although the call failed.
    return err == 0 ? E_FAIL : (HRESULT)err;
}

CFileReadStream::CFileReadStream() : m_hFile(INVALID_HANDLE_VALUE), m_refCount(1) {}

CFileReadStream::~CFileReadStream()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

HRESULT CFileReadStream::Open(const char* path)
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return HResultFromLastError();
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return E_FAIL;
    }
    m_hFile = h;
    return S_OK;
}

HRESULT CFileReadStream::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
        IsEqualIID(riid, IID_IStream)) {
        *ppv = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CFileReadStream::AddRef() { return (ULONG)InterlockedIncrement(&m_refCount); }

ULONG CFileReadStream::Release()
{
    LONG n = InterlockedDecrement(&m_refCount);
    if (n == 0)
        delete this;
    return (ULONG)n;
}

HRESULT CFileReadStream::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    DWORD got = 0;
    BOOL ok = ReadFile(m_hFile, pv, cb, &got, nullptr);
    if (pcbRead)
        *pcbRead = got;
    return ok ? S_OK : HResultFromLastError();
}

HRESULT CFileReadStream::Write(const void*, ULONG, ULONG*) { return E_NOTIMPL; }

HRESULT CFileReadStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos)
{
    DWORD method;
    switch (origin) {
    case STREAM_SEEK_SET: method = FILE_BEGIN; break;
    case STREAM_SEEK_CUR: method = FILE_CURRENT; break;
    case STREAM_SEEK_END: method = FILE_END; break;
    default: return E_INVALIDARG;
    }
    // The whole 64-bit move: sources past 4 GB seek correctly.
    LARGE_INTEGER pos;
    if (!SetFilePointerEx(m_hFile, move, &pos, method))
        return HResultFromLastError();
    if (newPos)
        newPos->QuadPart = (ULONGLONG)pos.QuadPart;
    return S_OK;
}

HRESULT CFileReadStream::SetSize(ULARGE_INTEGER) { return E_NOTIMPL; }
HRESULT CFileReadStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*)
{
    return E_NOTIMPL;
}
HRESULT CFileReadStream::Commit(DWORD) { return E_NOTIMPL; }
HRESULT CFileReadStream::Revert() { return E_NOTIMPL; }
HRESULT CFileReadStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }
HRESULT CFileReadStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }

HRESULT CFileReadStream::Stat(STATSTG* stat, DWORD flag)
{
    if (!stat || flag != STATFLAG_NONAME)
        return E_INVALIDARG;
    ZeroMemory(stat, sizeof *stat);
    stat->type = STGTY_STREAM;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        return HResultFromLastError();
    stat->cbSize.QuadPart = (ULONGLONG)size.QuadPart;
    return S_OK;
}

HRESULT CFileReadStream::Clone(IStream**) { return E_NOTIMPL; }
