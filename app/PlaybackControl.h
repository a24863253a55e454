#pragma once
// Play, stop and seek of a document: the stored position, the loop flag and
// the transport panel's playing state kept in step. Portable: the player,
// the hints and the panel are reached through the interfaces below.

// What the control needs of the wave-output player.
class IPlaybackDevice {
public:
    virtual ~IPlaybackDevice() = default;
    // A device to play on is there.
    virtual bool HasDevice() = 0;
    virtual bool Play(double startMs) = 0;
    virtual double GetPositionMs() = 0;
    virtual void Reset() = 0;
};

// The transport panel's side; absent when GetPanel gives null.
class IPlaybackPanel {
public:
    virtual ~IPlaybackPanel() = default;
    virtual void OnPlay() = 0;
    virtual void OnStop() = 0;
    virtual void SetPlaying(bool playing) = 0;
    virtual void UpdateTimeText(bool repaint) = 0;
};

class IPlaybackOwner {
public:
    virtual ~IPlaybackOwner() = default;
    virtual IPlaybackDevice* GetDevice() = 0; // may be null
    virtual IPlaybackPanel* GetPanel() = 0;   // may be null
    virtual void SendHint(int hint) = 0;
    // Play was asked for a song while there is no device to play it on.
    virtual void ReportNoDevice() = 0;
};

class CPlaybackControl {
public:
    explicit CPlaybackControl(IPlaybackOwner& owner) : m_owner(owner) {}

    bool Play(bool loop, bool notifyPanel);
    void Stop(bool notifyPanel);
    void Seek(int positionMs, bool restart);
    double GetPosition();

    bool IsPlaying() const { return m_playing; }
    bool IsLoopOn() const { return m_loop; }
    void SetLoop(bool on) { m_loop = on; }
    bool HasAudio() const { return m_audioPresent; }
    void SetAudioPresent(bool on) { m_audioPresent = on; }
    int GetTotalLength() const { return m_totalLength; }
    void SetTotalLength(int ms) { m_totalLength = ms; }
    int GetStoredPosition() const { return m_storedPosition; }
    void SetStoredPosition(int ms) { m_storedPosition = ms < 0 ? 0 : ms; }

private:
    IPlaybackOwner& m_owner;
    bool m_playing = false;
    bool m_loop = false;
    bool m_audioPresent = false;
    int m_totalLength = 0;
    int m_storedPosition = 0;
};

// One zoom step of the views: false (and no change) when the result would
// leave 0.3 .. 1.0.
bool StepZoom(float& zoom, float delta);
