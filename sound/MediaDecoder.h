#pragma once
// Decodes one compressed file into a PCM WAV file through the synchronous
// media reader. Lives on the conversion worker's stack.
#include <windows.h>
#include <wmsdkidl.h>

#include <cstdint>
#include <cstdio>

#include "WavFile.h"
#include "framework/CString.h"

class CFileReadStream;

class CMediaDecoder {
public:
    // Every post carries run (see RunCode; 0: none).
    explicit CMediaDecoder(HWND notifyWnd, unsigned int run = 0);
    virtual ~CMediaDecoder();
    CMediaDecoder(const CMediaDecoder&) = delete;
    CMediaDecoder& operator=(const CMediaDecoder&) = delete;

    // Whole conversion on the calling thread (which it initialises for COM);
    // 1 on success, 0 on failure.
    int Convert(const CString& source, const CString& target);

    HRESULT Open(const CString& source, const CString& target);
    HRESULT FindAudioOutput();
    HRESULT ScanStreams(IWMProfile* profile);
    HRESULT SetRange(uint64_t startMs, uint64_t endMs, BOOL readCompressed, BOOL audioSelected,
                     BOOL videoSelected, BOOL rangeByFrame);
    HRESULT ReadSamples();
    HRESULT Close();
    bool WriteWavHeader(FILE* file, uint32_t dataBytes);

    const WavFormat& OutputWavFormat() const { return m_wavFormat; }

private:
    void Post(UINT msg, WPARAM code, LPARAM percent);
    HRESULT RequestPcm16(DWORD output, IWMOutputMediaProps* props, WM_MEDIA_TYPE* type, WORD channels);
    HRESULT ReadDuration();
    void ReleaseReader();
    void CloseFile();

    HWND m_notifyWnd;
    unsigned int m_run;
    FILE* m_file;
    IWMSyncReader* m_reader;
    WORD m_audioStream;
    WORD m_videoStream;
    uint64_t m_rangeStartMs;
    uint64_t m_rangeEndMs;
    BOOL m_readCompressed;
    BOOL m_audioSelected;
    BOOL m_videoSelected;
    BOOL m_rangeByFrame;
    CFileReadStream* m_stream;
    DWORD m_audioOutput;
    WAVEFORMATEX* m_outputFormat;
    int m_lastPercent;
    uint64_t m_duration;     // 100-ns units
    uint64_t m_bytesWritten; // PCM bytes after the header
    uint64_t m_bytesExpected;
    WavFormat m_wavFormat;   // what the header says
    bool m_writeFailed;      // a write to the WAV file failed (a full disk)
};
