#pragma once
// An in-process stand-in for the media runtime's synchronous reader: it
// plays back a script of outputs, a duration and samples, and records what
// the decoder asked of it.
#include <windows.h>
#include <nserror.h>
#include <wmsdkidl.h>

#include <cstring>
#include <vector>

struct FakeSample {
    WORD stream;
    DWORD flags;
    std::vector<BYTE> bytes;
};

struct FakeScript {
    bool audioOutput = true; // else the file has only a video stream and output
    WORD formatTag = WAVE_FORMAT_PCM;
    WORD channels = 2;
    DWORD rate = 8000;
    WORD bits = 16;
    bool acceptPcm16 = true;
    QWORD duration = 10000000; // 100-ns units
    std::vector<FakeSample> samples;
    HRESULT afterSamples = NS_E_NO_MORE_SAMPLES;

    // Recorded.
    int readersMade = 0;
    DWORD factoryThread = 0;
    bool comReadyOnFactoryThread = false;
    bool outputPropsSet = false;
    WAVEFORMATEX requested = {};
};

extern FakeScript g_script;
extern LONG g_liveFakes; // fake objects not yet released

#define FAKE_UNKNOWN                                                                               \
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)InterlockedIncrement(&m_ref); }      \
    ULONG STDMETHODCALLTYPE Release() override                                                     \
    {                                                                                              \
        LONG n = InterlockedDecrement(&m_ref);                                                     \
        if (n == 0)                                                                                \
            delete this;                                                                           \
        return (ULONG)n;                                                                           \
    }                                                                                              \
    LONG m_ref = 1;

class FakeCounted {
public:
    FakeCounted() { InterlockedIncrement(&g_liveFakes); }
    virtual ~FakeCounted() { InterlockedDecrement(&g_liveFakes); }
};

#define NOTIMPL { return E_NOTIMPL; }

class FakeBuffer : public INSSBuffer, public FakeCounted {
public:
    explicit FakeBuffer(const std::vector<BYTE>& b) : m_bytes(b) {}
    FAKE_UNKNOWN
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetLength(DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetLength(DWORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetBuffer(BYTE**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetBufferAndLength(BYTE** p, DWORD* n) override
    {
        *p = m_bytes.data();
        *n = (DWORD)m_bytes.size();
        return S_OK;
    }
    std::vector<BYTE> m_bytes;
};

class FakeStreamConfig : public IWMStreamConfig, public FakeCounted {
public:
    FakeStreamConfig(const GUID& type, WORD number) : m_type(type), m_number(number) {}
    FAKE_UNKNOWN
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetStreamType(GUID* g) override { *g = m_type; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetStreamNumber(WORD* n) override { *n = m_number; return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStreamNumber(WORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetStreamName(WCHAR*, WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetStreamName(LPCWSTR_WMSDK_TYPE_SAFE) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetConnectionName(WCHAR*, WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetConnectionName(LPCWSTR_WMSDK_TYPE_SAFE) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetBitrate(DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetBitrate(DWORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetBufferWindow(DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetBufferWindow(DWORD) override NOTIMPL
    GUID m_type;
    WORD m_number;
};

class FakeOutputProps : public IWMOutputMediaProps, public FakeCounted {
public:
    FakeOutputProps(const GUID& major, const WAVEFORMATEX& fmt) : m_major(major), m_format(fmt) {}
    FAKE_UNKNOWN
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetType(GUID*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMediaType(WM_MEDIA_TYPE* type, DWORD* size) override
    {
        DWORD need = sizeof(WM_MEDIA_TYPE) + sizeof(WAVEFORMATEX);
        if (!type) {
            *size = need;
            return S_OK;
        }
        if (*size < need)
            return E_INVALIDARG;
        memset(type, 0, need);
        type->majortype = m_major;
        type->cbFormat = sizeof(WAVEFORMATEX);
        type->pbFormat = (BYTE*)(type + 1);
        memcpy(type->pbFormat, &m_format, sizeof m_format);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMediaType(WM_MEDIA_TYPE* type) override
    {
        if (!type || !type->pbFormat || type->cbFormat < sizeof(WAVEFORMATEX))
            return E_INVALIDARG;
        memcpy(&m_format, type->pbFormat, sizeof m_format);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamGroupName(WCHAR*, WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetConnectionName(WCHAR*, WORD*) override NOTIMPL
    GUID m_major;
    WAVEFORMATEX m_format;
};

class FakeSyncReader : public IWMSyncReader, public IWMProfile, public IWMHeaderInfo, public FakeCounted {
public:
    FakeSyncReader() { ++g_script.readersMade; }
    ~FakeSyncReader() override
    {
        if (m_stream)
            m_stream->Release();
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)InterlockedIncrement(&m_ref); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG n = InterlockedDecrement(&m_ref);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IWMSyncReader))
            *ppv = static_cast<IWMSyncReader*>(this);
        else if (IsEqualIID(riid, IID_IWMProfile))
            *ppv = static_cast<IWMProfile*>(this);
        else if (IsEqualIID(riid, IID_IWMHeaderInfo))
            *ppv = static_cast<IWMHeaderInfo*>(this);
        else
            return *ppv = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    // IWMSyncReader
    HRESULT STDMETHODCALLTYPE Open(const WCHAR*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetRange(QWORD, LONGLONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetRangeByFrame(WORD, QWORD, LONGLONG) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetNextSample(WORD, INSSBuffer** sample, QWORD* time, QWORD* dur,
                                            DWORD* flags, DWORD* output, WORD* stream) override
    {
        if (m_next >= g_script.samples.size())
            return g_script.afterSamples;
        const FakeSample& s = g_script.samples[m_next++];
        *sample = new FakeBuffer(s.bytes);
        *time = *dur = 0;
        *flags = s.flags;
        *output = s.stream == 1 ? 0 : 1;
        *stream = s.stream;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStreamsSelected(WORD, WORD*, WMT_STREAM_SELECTION*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetStreamSelected(WORD, WMT_STREAM_SELECTION*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetReadStreamSamples(WORD, WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetReadStreamSamples(WORD, WINBOOL*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetOutputSetting(DWORD, LPCWSTR, WMT_ATTR_DATATYPE*, BYTE*, WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetOutputSetting(DWORD, LPCWSTR, WMT_ATTR_DATATYPE, const BYTE*, WORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetOutputCount(DWORD* n) override { *n = 1; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetOutputProps(DWORD i, IWMOutputMediaProps** out) override
    {
        if (i != 0)
            return E_INVALIDARG;
        WAVEFORMATEX f = {};
        f.wFormatTag = g_script.formatTag;
        f.nChannels = g_script.channels;
        f.nSamplesPerSec = g_script.rate;
        f.wBitsPerSample = g_script.bits;
        f.nBlockAlign = (WORD)(f.nChannels * f.wBitsPerSample / 8);
        f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
        *out = new FakeOutputProps(g_script.audioOutput ? WMMEDIATYPE_Audio : WMMEDIATYPE_Video, f);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetOutputProps(DWORD, IWMOutputMediaProps* props) override
    {
        if (!g_script.acceptPcm16)
            return NS_E_INVALID_OUTPUT_FORMAT;
        g_script.outputPropsSet = true;
        g_script.requested = static_cast<FakeOutputProps*>(props)->m_format;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOutputFormatCount(DWORD, DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetOutputFormat(DWORD, DWORD, IWMOutputMediaProps**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetOutputNumberForStream(WORD, DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetStreamNumberForOutput(DWORD, WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMaxOutputSampleSize(DWORD, DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMaxStreamSampleSize(WORD, DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE OpenStream(IStream* stream) override
    {
        // Read a little, as a real reader would.
        char head[4];
        ULONG got = 0;
        LARGE_INTEGER zero = {};
        if (FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr)) || FAILED(stream->Read(head, 4, &got)))
            return E_FAIL;
        m_stream = stream;
        m_stream->AddRef();
        return S_OK;
    }

    // IWMProfile
    HRESULT STDMETHODCALLTYPE GetVersion(WMT_VERSION*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetName(WCHAR*, DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetName(const WCHAR*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetDescription(WCHAR*, DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE SetDescription(const WCHAR*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD* n) override { *n = g_script.audioOutput ? 2 : 1; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetStream(DWORD i, IWMStreamConfig** out) override
    {
        bool audio = g_script.audioOutput && i == 0;
        *out = new FakeStreamConfig(audio ? WMMEDIATYPE_Audio : WMMEDIATYPE_Video, audio ? 1 : 2);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamByNumber(WORD, IWMStreamConfig**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE RemoveStream(IWMStreamConfig*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE RemoveStreamByNumber(WORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE AddStream(IWMStreamConfig*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE ReconfigStream(IWMStreamConfig*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE CreateNewStream(REFGUID, IWMStreamConfig**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMutualExclusionCount(DWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMutualExclusion(DWORD, IWMMutualExclusion**) override NOTIMPL
    HRESULT STDMETHODCALLTYPE RemoveMutualExclusion(IWMMutualExclusion*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE AddMutualExclusion(IWMMutualExclusion*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE CreateNewMutualExclusion(IWMMutualExclusion**) override NOTIMPL

    // IWMHeaderInfo
    HRESULT STDMETHODCALLTYPE GetAttributeCount(WORD, WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetAttributeByIndex(WORD, WORD*, WCHAR*, WORD*, WMT_ATTR_DATATYPE*, BYTE*, WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetAttributeByName(WORD* stream, LPCWSTR name, WMT_ATTR_DATATYPE* type,
                                                 BYTE* value, WORD* length) override
    {
        if (*stream != 0 || wcscmp(name, L"Duration") != 0 || *length < sizeof(QWORD))
            return E_INVALIDARG;
        *type = WMT_TYPE_QWORD;
        memcpy(value, &g_script.duration, sizeof(QWORD));
        *length = sizeof(QWORD);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetAttribute(WORD, LPCWSTR, WMT_ATTR_DATATYPE, const BYTE*, WORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMarkerCount(WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetMarker(WORD, WCHAR*, WORD*, QWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE AddMarker(LPCWSTR_WMSDK_TYPE_SAFE, QWORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE RemoveMarker(WORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetScriptCount(WORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE GetScript(WORD, WCHAR*, WORD*, WCHAR*, WORD*, QWORD*) override NOTIMPL
    HRESULT STDMETHODCALLTYPE AddScript(LPCWSTR_WMSDK_TYPE_SAFE, LPCWSTR_WMSDK_TYPE_SAFE, QWORD) override NOTIMPL
    HRESULT STDMETHODCALLTYPE RemoveScript(WORD) override NOTIMPL

private:
    LONG m_ref = 1;
    size_t m_next = 0;
    IStream* m_stream = nullptr;
};

inline HRESULT MakeFakeSyncReader(IWMSyncReader** reader)
{
    g_script.factoryThread = GetCurrentThreadId();
    // S_FALSE: the thread already had COM.
    HRESULT hr = CoInitialize(nullptr);
    g_script.comReadyOnFactoryThread = hr == S_FALSE;
    if (SUCCEEDED(hr))
        CoUninitialize();
    *reader = static_cast<IWMSyncReader*>(new FakeSyncReader());
    return S_OK;
}
