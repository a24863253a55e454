#include "MediaDecoder.h"

#include <nserror.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "FileReadStream.h"
#include "SourcePath.h"
#include "SyncReaderFactory.h"
#include "shared/Messages.h"

namespace {
// Sample flags that mark a buffer to leave out.
constexpr DWORD kFlagDiscontinuity = 2;
constexpr DWORD kFlagDataLoss = 4;
} // namespace

CMediaDecoder::CMediaDecoder(HWND notifyWnd, unsigned int run)
    : m_notifyWnd(notifyWnd), m_run(run), m_file(nullptr), m_reader(nullptr), m_audioStream(0),
      m_videoStream(0), m_rangeStartMs(0), m_rangeEndMs(0), m_readCompressed(FALSE),
      m_audioSelected(TRUE), m_videoSelected(FALSE), m_rangeByFrame(FALSE), m_stream(nullptr),
      m_audioOutput(0), m_outputFormat(nullptr), m_lastPercent(0), m_duration(0),
      m_bytesWritten(0), m_bytesExpected(0), m_wavFormat{2, 44100, 16}, m_writeFailed(false)
{
}

CMediaDecoder::~CMediaDecoder()
{
    CloseFile();
    ReleaseReader();
    free(m_outputFormat);
}

void CMediaDecoder::Post(UINT msg, WPARAM code, LPARAM percent)
{
    if (m_notifyWnd)
        PostMessageA(m_notifyWnd, msg, RunCode((unsigned int)code, m_run), percent);
}

void CMediaDecoder::ReleaseReader()
{
    // The reader holds the stream: let it go first.
    if (m_reader) {
        m_reader->Release();
        m_reader = nullptr;
    }
    if (m_stream) {
        m_stream->Release();
        m_stream = nullptr;
    }
}

void CMediaDecoder::CloseFile()
{
    if (m_file) {
        fclose(m_file);
        m_file = nullptr;
    }
}

int CMediaDecoder::Convert(const CString& source, const CString& target)
{
    if (FAILED(CoInitialize(nullptr)))
        return 0;
    int result = 0;
    if (SUCCEEDED(SetRange(0, 0, FALSE, TRUE, FALSE, FALSE)) && SUCCEEDED(Open(source, target)) &&
        SUCCEEDED(ReadSamples()) && SUCCEEDED(Close())) {
        // A header that does not describe the data, or data that never
        // reached the disk, is a failed conversion.
        uint32_t bytes = (uint32_t)m_bytesWritten;
        bool headerOk = WriteWavHeader(m_file, bytes);
        bool closedOk = fclose(m_file) == 0;
        m_file = nullptr;
        result = headerOk && closedOk ? 1 : 0;
    }
    CloseFile();
    // COM objects go before COM does.
    ReleaseReader();
    CoUninitialize();
    // Told once the file is closed: the program may delete it at once.
    if (m_writeFailed)
        Post(WM_DECODE_STATUS, DECODE_WRITE_ERROR, 0);
    return result;
}

HRESULT CMediaDecoder::SetRange(uint64_t startMs, uint64_t endMs, BOOL readCompressed,
                                BOOL audioSelected, BOOL videoSelected, BOOL rangeByFrame)
{
    if (endMs != 0 && endMs <= startMs)
        return E_INVALIDARG;
    m_rangeStartMs = startMs;
    m_rangeEndMs = endMs;
    m_readCompressed = readCompressed;
    m_audioSelected = audioSelected;
    m_videoSelected = videoSelected;
    m_rangeByFrame = rangeByFrame;
    return S_OK;
}

HRESULT CMediaDecoder::Open(const CString& source, const CString& target)
{
    if (IsRefusedMediaSource(source))
        return E_INVALIDARG;
    HRESULT hr;
    if (!m_reader) {
        hr = CreateSyncReader(&m_reader);
        if (FAILED(hr))
            return hr;
        if (!m_reader)
            return E_UNEXPECTED;
    }
    if (m_stream) {
        m_stream->Release();
        m_stream = nullptr;
    }
    m_stream = new (std::nothrow) CFileReadStream();
    if (!m_stream)
        return E_OUTOFMEMORY;
    hr = m_stream->Open(source);
    if (FAILED(hr))
        return hr;
    hr = m_reader->OpenStream(m_stream);
    if (FAILED(hr))
        return hr;

    IWMProfile* profile = nullptr;
    hr = m_reader->QueryInterface(IID_IWMProfile, (void**)&profile);
    if (FAILED(hr))
        return hr;
    hr = ScanStreams(profile);
    profile->Release();
    if (FAILED(hr))
        return hr;

    hr = FindAudioOutput();
    if (FAILED(hr))
        return hr;

    m_lastPercent = 0;
    hr = ReadDuration();
    if (FAILED(hr))
        return hr;
    if (m_duration == 0)
        return E_INVALIDARG;
    // Only for progress: decoding runs until the reader has no more samples,
    // since a variable-rate file may run past the duration it states.
    m_bytesExpected = PcmBytesForDuration(m_duration, m_wavFormat);

    m_file = fopen(target, "w+b");
    if (!m_file)
        return E_FAIL;
    m_bytesWritten = 0;
    if (!WriteWavHeader(m_file, 0))
        return E_FAIL;
    return S_OK;
}

HRESULT CMediaDecoder::ScanStreams(IWMProfile* profile)
{
    DWORD count = 0;
    HRESULT hr = profile->GetStreamCount(&count);
    if (FAILED(hr))
        return hr;
    for (DWORD i = 0; i < count; ++i) {
        IWMStreamConfig* config = nullptr;
        hr = profile->GetStream(i, &config);
        if (FAILED(hr))
            return hr;
        GUID type;
        WORD number = 0;
        hr = config->GetStreamType(&type);
        if (SUCCEEDED(hr))
            hr = config->GetStreamNumber(&number);
        config->Release();
        if (FAILED(hr))
            return hr;
        if (IsEqualGUID(type, WMMEDIATYPE_Audio))
            m_audioStream = number;
        else if (IsEqualGUID(type, WMMEDIATYPE_Video))
            m_videoStream = number;
    }
    return S_OK;
}

HRESULT CMediaDecoder::FindAudioOutput()
{
    DWORD outputs = 0;
    HRESULT hr = m_reader->GetOutputCount(&outputs);
    if (FAILED(hr))
        return hr;
    for (DWORD i = 0; i < outputs; ++i) {
        IWMOutputMediaProps* props = nullptr;
        hr = m_reader->GetOutputProps(i, &props);
        if (FAILED(hr))
            return hr;
        DWORD size = 0;
        hr = props->GetMediaType(nullptr, &size);
        WM_MEDIA_TYPE* type = nullptr;
        if (SUCCEEDED(hr) && size >= sizeof(WM_MEDIA_TYPE)) {
            type = (WM_MEDIA_TYPE*)malloc(size);
            hr = type ? props->GetMediaType(type, &size) : E_OUTOFMEMORY;
        } else if (SUCCEEDED(hr)) {
            hr = E_UNEXPECTED;
        }
        if (SUCCEEDED(hr) && IsEqualGUID(type->majortype, WMMEDIATYPE_Audio)) {
            if (!type->pbFormat || type->cbFormat < sizeof(PCMWAVEFORMAT)) {
                hr = E_UNEXPECTED;
            } else {
                free(m_outputFormat);
                DWORD copy = type->cbFormat < sizeof(WAVEFORMATEX) ? sizeof(WAVEFORMATEX) : type->cbFormat;
                m_outputFormat = (WAVEFORMATEX*)calloc(1, copy);
                if (!m_outputFormat)
                    hr = E_OUTOFMEMORY;
                else
                    memcpy(m_outputFormat, type->pbFormat, type->cbFormat);
            }
            if (SUCCEEDED(hr)) {
                m_audioOutput = i;
                const WAVEFORMATEX& f = *m_outputFormat;
                WORD bits = f.wBitsPerSample;
                const WORD channels = f.nChannels > 2 ? 2 : f.nChannels;
                if (f.nChannels <= 2 &&
                    (bits == 0 || bits == 16 || (bits == 8 && f.wFormatTag == WAVE_FORMAT_PCM))) {
                    m_wavFormat = {f.nChannels, f.nSamplesPerSec, (uint16_t)(bits == 8 ? 8 : 16)};
                } else {
                    // Wider or floating-point output would not match a 16-bit
                    // header, and players take at most two channels: ask for
                    // 16-bit PCM on at most two, else label integer PCM with
                    // its real width.
                    hr = RequestPcm16(i, props, type, channels);
                    if (SUCCEEDED(hr))
                        m_wavFormat = {channels, f.nSamplesPerSec, 16};
                    else if (f.wFormatTag == WAVE_FORMAT_PCM && bits % 8 == 0)
                        hr = S_OK, m_wavFormat = {f.nChannels, f.nSamplesPerSec, bits};
                    else
                        hr = E_UNEXPECTED;
                }
            }
            free(type);
            props->Release();
            return hr;
        }
        free(type);
        props->Release();
        if (FAILED(hr))
            return hr;
    }
    return E_UNEXPECTED;
}

HRESULT CMediaDecoder::RequestPcm16(DWORD output, IWMOutputMediaProps* props, WM_MEDIA_TYPE* type, WORD channels)
{
    const WAVEFORMATEX& have = *m_outputFormat;
    WAVEFORMATEX want = {};
    want.wFormatTag = WAVE_FORMAT_PCM;
    want.nChannels = channels;
    want.nSamplesPerSec = have.nSamplesPerSec;
    want.wBitsPerSample = 16;
    want.nBlockAlign = (WORD)(want.nChannels * 2);
    want.nAvgBytesPerSec = want.nSamplesPerSec * want.nBlockAlign;
    // Same media and format type, a PCM wave format block.
    WM_MEDIA_TYPE wanted = *type;
    wanted.subtype = WMMEDIASUBTYPE_PCM;
    wanted.bFixedSizeSamples = TRUE;
    wanted.bTemporalCompression = FALSE;
    wanted.lSampleSize = want.nBlockAlign;
    wanted.pUnk = nullptr;
    wanted.cbFormat = sizeof want;
    wanted.pbFormat = (BYTE*)&want;
    HRESULT hr = props->SetMediaType(&wanted);
    if (SUCCEEDED(hr))
        hr = m_reader->SetOutputProps(output, props);
    return hr;
}

HRESULT CMediaDecoder::ReadDuration()
{
    IWMHeaderInfo* info = nullptr;
    HRESULT hr = m_reader->QueryInterface(IID_IWMHeaderInfo, (void**)&info);
    if (FAILED(hr))
        return hr;
    WORD stream = 0;
    WMT_ATTR_DATATYPE type = WMT_TYPE_QWORD;
    QWORD duration = 0;
    WORD length = sizeof duration;
    hr = info->GetAttributeByName(&stream, L"Duration", &type, (BYTE*)&duration, &length);
    info->Release();
    if (FAILED(hr))
        return hr;
    m_duration = duration;
    return S_OK;
}

HRESULT CMediaDecoder::ReadSamples()
{
    HRESULT hr;
    if (m_audioStream) {
        WMT_STREAM_SELECTION on = WMT_ON;
        hr = m_reader->SetStreamsSelected(1, &m_audioStream, &on);
        if (SUCCEEDED(hr))
            hr = m_reader->SetReadStreamSamples(m_audioStream, m_readCompressed);
        if (FAILED(hr))
            return hr;
    }
    if (m_videoStream) {
        WMT_STREAM_SELECTION off = WMT_OFF;
        hr = m_reader->SetStreamsSelected(1, &m_videoStream, &off);
        if (SUCCEEDED(hr))
            hr = m_reader->SetReadStreamSamples(m_videoStream, m_readCompressed);
        if (FAILED(hr))
            return hr;
    }
    uint64_t span = m_rangeEndMs ? (m_rangeEndMs - m_rangeStartMs) * 10000 : 0;
    hr = m_reader->SetRange(m_rangeStartMs * 10000, span);
    if (FAILED(hr))
        return hr;

    for (;;) {
        INSSBuffer* sample = nullptr;
        QWORD time = 0, duration = 0;
        DWORD flags = 0, output = 0;
        WORD stream = 0;
        hr = m_reader->GetNextSample(0, &sample, &time, &duration, &flags, &output, &stream);
        if (FAILED(hr))
            return hr == NS_E_NO_MORE_SAMPLES ? S_OK : hr;
        if (!sample)
            continue;
        bool stop = false;
        if (stream == m_audioStream && flags != kFlagDiscontinuity && flags != kFlagDataLoss) {
            BYTE* data = nullptr;
            DWORD length = 0;
            hr = sample->GetBufferAndLength(&data, &length);
            if (FAILED(hr)) {
                sample->Release();
                return hr;
            }
            if (m_bytesWritten + length > kWavMaxDataBytes) {
                // The file's size fields cannot describe more.
                stop = true;
            } else if (length) {
                size_t put = fwrite(data, 1, length, m_file);
                m_bytesWritten += put;
                if (put != length) {
                    m_writeFailed = true; // said when the file is closed
                    stop = true;
                } else {
                    // A post per changed percent, not per sample: thousands
                    // of repeats each cost the program's dialog a round of
                    // its modal loop.
                    const int percent = ProgressPercent(m_bytesWritten, m_bytesExpected);
                    if (percent != m_lastPercent) {
                        m_lastPercent = percent;
                        Post(WM_DECODE_STATUS, DECODE_PROGRESS, m_lastPercent);
                    }
                }
            }
        }
        sample->Release();
        if (stop)
            return S_OK;
    }
}

HRESULT CMediaDecoder::Close()
{
    if (!m_reader)
        return S_OK;
    HRESULT hr = m_reader->Close();
    if (FAILED(hr))
        return hr;
    ReleaseReader();
    return S_OK;
}

bool CMediaDecoder::WriteWavHeader(FILE* file, uint32_t dataBytes)
{
    return ::WriteWavHeader(file, m_wavFormat, dataBytes);
}
