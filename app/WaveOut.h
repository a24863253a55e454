#pragma once
// Plays one PCM WAV file, held whole in memory, through a wave-output
// device: one buffer from a start position to the end, polled for its
// position. Also hands the samples to the analysis as floats.

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "app/PlaybackControl.h"
#include "app/WaveData.h"
#include "framework/CString.h"

class CWaveOut : public IPlaybackDevice {
public:
    explicit CWaveOut(HWND owner);
    ~CWaveOut() override;
    CWaveOut(const CWaveOut&) = delete;
    CWaveOut& operator=(const CWaveOut&) = delete;

    // Lists the devices that take 44.1 kHz 16-bit stereo PCM.
    void EnumDevices();
    int GetDeviceCount() override { return static_cast<int>(m_devices.size()); }
    CString GetDeviceName(int index) const;
    int GetDeviceIndex() const { return m_deviceIndex; }
    void SelectDevice(int index);

    // A failure leaves no audio loaded.
    bool LoadWave(const char* path);
    bool IsLoaded() const { return m_loaded; }
    // The last LoadWave failed because the song is too long: it lasts more
    // than kMaxSongMs, its samples did not fit in memory, or the file is
    // past 2 GB, beyond the reach of multimedia file I/O.
    bool LoadFailedTooLong() const { return m_loadTooLong; }
    CString GetFilePath() const { return m_path; }

    bool Play(double startMs) override;
    double GetPositionMs() override;
    void Reset() override;

    bool SetVolume(DWORD level);
    DWORD GetVolume();

    // new[] arrays, freed by the caller with delete[]. *noMemory (if given)
    // tells a failure for want of memory.
    bool GetSamplesFloat(float** left, float** right, int* count, int* rate, bool* noMemory = nullptr);
    bool GetMonoMix(float** samples, int* count, int* rate, bool* noMemory = nullptr);

    int GetChannels() const;
    int GetSampleRate() const;
    double GetLengthMs() const;

private:
    struct Device {
        CString name;
        UINT id;
    };
    bool DeviceUsable() const;
    UINT DeviceId() const { return m_devices[m_deviceIndex].id; }
    void FillFormat(WAVEFORMATEX& wfx) const;
    void CloseDevice();
    void FreeHeader();
    void FreeData();
    bool WithVolumeDevice(bool set, DWORD& value);

    int m_deviceIndex;
    std::vector<Device> m_devices;
    DWORD m_startOffset;
    bool m_loaded;
    bool m_loadTooLong;
    CString m_path;
    HGLOBAL m_dataBlock;
    unsigned char* m_data;
    HGLOBAL m_headerBlock;
    WAVEHDR* m_header;
    bool m_headerPrepared;
    HWAVEOUT m_device;
    HWND m_owner;
    DWORD m_dataSize;
    PcmFormat m_format;
};
