#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PlaybackControl.h"

namespace {

struct Log {
    std::vector<std::string> events;
    std::string Joined() const
    {
        std::string s;
        for (const auto& e : events)
            s += (s.empty() ? "" : " ") + e;
        return s;
    }
};

class FakeDevice : public IPlaybackDevice {
public:
    explicit FakeDevice(Log& log) : m_log(log) {}
    bool HasDevice() override { return devices > 0; }
    bool Play(double ms) override
    {
        m_log.events.push_back("play@" + std::to_string(static_cast<int>(ms)));
        return starts;
    }
    double GetPositionMs() override { return position; }
    void Reset() override { m_log.events.push_back("reset"); }
    int devices = 1;
    bool starts = true;
    double position = 0;

private:
    Log& m_log;
};

class FakePanel : public IPlaybackPanel {
public:
    explicit FakePanel(Log& log) : m_log(log) {}
    void OnPlay() override { m_log.events.push_back("panel.OnPlay"); }
    void OnStop() override { m_log.events.push_back("panel.OnStop"); }
    void SetPlaying(bool on) override { m_log.events.push_back(on ? "panel.playing" : "panel.stopped"); }
    void UpdateTimeText(bool) override { m_log.events.push_back("panel.time"); }

private:
    Log& m_log;
};

class FakeOwner : public IPlaybackOwner {
public:
    FakeOwner() : device(log), panel(log) {}
    IPlaybackDevice* GetDevice() override { return &device; }
    IPlaybackPanel* GetPanel() override { return hasPanel ? &panel : nullptr; }
    void SendHint(int hint) override { log.events.push_back(std::to_string(hint)); }
    void ReportNoDevice() override { log.events.push_back("no device"); }
    Log log;
    FakeDevice device;
    FakePanel panel;
    bool hasPanel = true;
};

class Playback : public ::testing::Test {
protected:
    Playback() : ctl(owner)
    {
        ctl.SetAudioPresent(true);
        ctl.SetTotalLength(10000);
    }
    std::string Take()
    {
        std::string s = owner.log.Joined();
        owner.log.events.clear();
        return s;
    }
    FakeOwner owner;
    CPlaybackControl ctl;
};

} // namespace

TEST_F(Playback, PlayNeedsDeviceAndAudioButAlwaysTakesLoop)
{
    // Without a device the user is told why nothing plays.
    owner.device.devices = 0;
    EXPECT_FALSE(ctl.Play(true, false));
    EXPECT_TRUE(ctl.IsLoopOn());
    EXPECT_EQ("no device", Take());
    owner.device.devices = 1;
    ctl.SetAudioPresent(false);
    EXPECT_FALSE(ctl.Play(false, false));
    EXPECT_FALSE(ctl.IsLoopOn());
    EXPECT_EQ("", Take());
    ctl.SetAudioPresent(true);
    owner.device.starts = false;
    EXPECT_FALSE(ctl.Play(true, true));
    EXPECT_FALSE(ctl.IsPlaying());
    EXPECT_EQ("play@0 panel.stopped", Take());
    owner.device.starts = true;
    ctl.Seek(1500, false);
    EXPECT_TRUE(ctl.Play(false, true));
    EXPECT_TRUE(ctl.IsPlaying());
    EXPECT_EQ("play@1500 900 panel.OnPlay panel.playing", Take());
    owner.hasPanel = false;
    EXPECT_TRUE(ctl.Play(false, true));
    EXPECT_EQ("play@1500 900", Take());
}

TEST_F(Playback, StopKeepsDevicePositionAndAlwaysSendsHint)
{
    ctl.Stop(false);
    EXPECT_EQ("reset 901", Take());
    EXPECT_EQ(0, ctl.GetStoredPosition());
    ctl.Seek(2000, false);
    ASSERT_TRUE(ctl.Play(false, false));
    owner.device.position = 2345.9;
    EXPECT_DOUBLE_EQ(2345.9, ctl.GetPosition());
    Take();
    ctl.Stop(true);
    EXPECT_EQ(2345, ctl.GetStoredPosition());
    EXPECT_FALSE(ctl.IsPlaying());
    EXPECT_EQ("reset 901 panel.OnStop", Take());
    EXPECT_DOUBLE_EQ(2345.0, ctl.GetPosition());
    // Stopping again keeps the position.
    ctl.Stop(false);
    EXPECT_EQ(2345, ctl.GetStoredPosition());
    EXPECT_EQ("reset 901", Take());
}

TEST_F(Playback, SeekClampsAndRestarts)
{
    ctl.Seek(-5, false);
    EXPECT_EQ(0, ctl.GetStoredPosition());
    EXPECT_EQ("", Take());
    ctl.Seek(4000, true);
    EXPECT_EQ(4000, ctl.GetStoredPosition());
    EXPECT_EQ("904 panel.time", Take());
    // Inside the song while playing: restart from there.
    ASSERT_TRUE(ctl.Play(true, false));
    Take();
    ctl.Seek(7000, true);
    EXPECT_TRUE(ctl.IsPlaying());
    EXPECT_TRUE(ctl.IsLoopOn());
    EXPECT_EQ("play@7000 900 panel.playing", Take());
}

TEST_F(Playback, SeekPastTheEndWhilePlaying)
{
    ASSERT_TRUE(ctl.Play(false, false));
    owner.device.position = 9000;
    Take();
    ctl.Seek(20000, true);
    EXPECT_EQ(9999, ctl.GetStoredPosition());
    EXPECT_FALSE(ctl.IsPlaying());
    // The panel's stop handler is not called on a restart, but the panel
    // stops showing play so it agrees with the document.
    EXPECT_EQ("reset 901 panel.stopped 904 panel.time", Take());
    ASSERT_TRUE(ctl.Play(false, false));
    Take();
    ctl.Seek(9999, false);
    EXPECT_EQ("reset 901 panel.OnStop", Take());
    EXPECT_EQ(9999, ctl.GetStoredPosition());
}

TEST_F(Playback, EmptySongNeverStoresNegativePosition)
{
    ctl.SetTotalLength(0);
    for (int ms : {0, 1, 500, -3}) {
        ctl.Seek(ms, false);
        EXPECT_EQ(0, ctl.GetStoredPosition()) << ms;
    }
}

TEST(Zoom, StepsStayInsideTheRange)
{
    float z = 0.6f;
    int changes = 0;
    for (int i = 0; i < 4; ++i)
        changes += StepZoom(z, 0.1f);
    EXPECT_EQ(3, changes);
    EXPECT_FLOAT_EQ(0.9000001f, z);
    EXPECT_GT(z, 0.9f);
    z = 0.6f;
    changes = 0;
    for (int i = 0; i < 4; ++i)
        changes += StepZoom(z, -0.1f);
    EXPECT_EQ(3, changes);
    EXPECT_FLOAT_EQ(0.30000001f, z);
    EXPECT_FALSE(StepZoom(z, -0.1f));
}
