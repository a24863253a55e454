#pragma once
// Plays one PCM WAV file, held whole in memory, through a wave-output
// device: one buffer from a start position to the end, polled for its
// position. Also hands the samples to the analysis as floats.

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <vector>

#include "app/PlaybackControl.h"
#include "app/WaveData.h"
#include "framework/CString.h"

// Why a song did not load, for what the user is told.
enum class WaveLoadFailure {
    None,
    Open,    // the file could not be opened
    Damaged, // not a WAV file that can be read, damaged or cut short
    TooLong, // its samples do not fit in memory, or the file is past 2 GB
    Refused, // the output device does not take its format
};

// A song read whole from its file, not yet a player's: what a load does
// away from the user-interface thread.
struct WaveFileData {
    PcmFormat format = {};
    HGLOBAL block = nullptr; // locked; owned until a player takes it
    unsigned char* data = nullptr;
    uint32_t size = 0;
    WaveLoadFailure failure = WaveLoadFailure::None;
    void Free();
};

class CWaveOut : public IPlaybackDevice {
public:
    explicit CWaveOut(HWND owner);
    ~CWaveOut() override;
    CWaveOut(const CWaveOut&) = delete;
    CWaveOut& operator=(const CWaveOut&) = delete;

    // Lists the devices that take 44.1 kHz 16-bit stereo PCM.
    void EnumDevices();
    int GetDeviceCount() const { return static_cast<int>(m_devices.size()); }
    // A device to play on is selected.
    bool HasDevice() override { return DeviceUsable(); }
    CString GetDeviceName(int index) const;
    int GetDeviceIndex() const { return m_deviceIndex; }
    void SelectDevice(int index);

    // A failure leaves no audio loaded. The device is not needed: a song
    // loads (for the analysis) without one.
    bool LoadWave(const char* path);
    bool IsLoaded() const { return m_loaded; }
    // Why the last load failed.
    WaveLoadFailure LastLoadFailure() const { return m_lastFailure; }

    // LoadWave in steps, for a long song read on another thread: Unload
    // (the old song goes first, so two never share memory), ReadWaveFile on
    // any thread, then TakeWave of what it read.
    void Unload();
    // The device to ask whether it takes a song's format; -1 for none.
    int FormatDevice() const;
    // Why ReadWaveFile would fail at the file's head (None when it would
    // not), without reading its samples.
    static WaveLoadFailure CheckWaveFile(const char* path, int formatDevice);
    // progress (may be empty) gets the percent read, 0..100.
    static WaveFileData ReadWaveFile(const char* path, int formatDevice, const std::function<void(int)>& progress);
    // Takes the samples (data is emptied); false after a failed read.
    bool TakeWave(const char* path, WaveFileData& data);
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
    WaveLoadFailure m_lastFailure;
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
