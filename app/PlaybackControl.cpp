#include "PlaybackControl.h"

bool CPlaybackControl::Play(bool loop, bool notifyPanel)
{
    IPlaybackDevice* dev = m_owner.GetDevice();
    if (!dev || !dev->HasDevice() || !m_audioPresent) {
        m_loop = loop;
        if (m_audioPresent)
            m_owner.ReportNoDevice();
        return false;
    }
    m_playing = dev->Play(m_storedPosition);
    IPlaybackPanel* panel = m_owner.GetPanel();
    if (m_playing) {
        m_owner.SendHint(900);
        if (panel && notifyPanel)
            panel->OnPlay();
        if ((panel = m_owner.GetPanel()) != nullptr)
            panel->SetPlaying(true);
        m_loop = loop;
        return true;
    }
    if (panel)
        panel->SetPlaying(false);
    m_loop = loop;
    return false;
}

void CPlaybackControl::Stop(bool notifyPanel)
{
    IPlaybackDevice* dev = m_owner.GetDevice();
    if (m_playing && dev) {
        const double pos = dev->GetPositionMs();
        SetStoredPosition(pos > 2147483647.0 ? 2147483647 : static_cast<int>(pos));
    }
    if (dev)
        dev->Reset();
    m_playing = false;
    m_owner.SendHint(901);
    IPlaybackPanel* panel = m_owner.GetPanel();
    if (panel && notifyPanel)
        panel->OnStop();
}

void CPlaybackControl::Seek(int positionMs, bool restart)
{
    // The last millisecond of an empty song would be -1: keep 0 there.
    const int last = m_totalLength > 0 ? m_totalLength - 1 : 0;
    if (positionMs < 0) {
        m_storedPosition = 0;
    } else if (positionMs < last) {
        m_storedPosition = positionMs;
    } else {
        m_storedPosition = last;
        if (m_playing) {
            m_playing = false;
            Stop(!restart);
            // Stop told the panel nothing: it must not go on showing play.
            if (restart)
                if (IPlaybackPanel* panel = m_owner.GetPanel())
                    panel->SetPlaying(false);
        }
    }
    if (!restart)
        return;
    if (m_playing) {
        Play(m_loop, false);
        return;
    }
    m_owner.SendHint(904);
    if (IPlaybackPanel* panel = m_owner.GetPanel())
        panel->UpdateTimeText(true);
}

double CPlaybackControl::GetPosition()
{
    IPlaybackDevice* dev = m_owner.GetDevice();
    if (m_playing && dev)
        return dev->GetPositionMs();
    return m_storedPosition;
}

bool StepZoom(float& zoom, float delta)
{
    const double a = static_cast<double>(zoom) + static_cast<double>(delta);
    if (a > 1.0 || a < 0.3)
        return false;
    zoom = static_cast<float>(a);
    return true;
}
