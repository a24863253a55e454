#include "app/AnalysisJob.h"

#include "app/AnalysisWorker.h"
#include "app/LibraryLoaders.h"
#include "app/WaveOut.h"
#include "shared/Messages.h"

namespace {

class PlayerSong : public IAnalysisSong {
public:
    explicit PlayerSong(CWaveOut* player) : m_player(player) {}
    int GetChannels() override { return m_player ? m_player->GetChannels() : 0; }
    bool GetMonoSamples(float** samples, int* count, int* rate) override
    {
        if (!m_player)
            return false;
        if (m_player->GetChannels() == 2)
            return m_player->GetMonoMix(samples, count, rate, &m_noMemory);
        float* right = nullptr;
        bool ok = m_player->GetSamplesFloat(samples, &right, count, rate, &m_noMemory);
        delete[] right;
        return ok;
    }
    bool OutOfMemory() override { return m_noMemory; }

private:
    CWaveOut* m_player;
    bool m_noMemory = false;
};

class LoaderEngine : public IAnalysisEngine {
public:
    LoaderEngine(CEngineLoader* loader, HANDLE cancelEvent) : m_loader(loader), m_cancel(cancelEvent) {}
    bool Analyze(const float* samples, int count, int rate) override
    {
        m_loader->Analyze(samples, 0, count, rate, m_cancel);
        // Every run of a real engine sets a reference pitch, even a
        // cancelled one; an object without an engine has none and has
        // posted WM_ANALYSIS_NO_ENGINE, and its results must not be read.
        return m_loader->GetReferencePitch() > 0.0f;
    }
    void GetResults(CFloatMatrix** chords, CFloatMatrix** bass, CFloatMatrix** tones,
                    CFloatMatrix** bassTones) override
    {
        if (!m_loader->GetChordMatrix(chords))
            *chords = nullptr;
        if (!m_loader->GetBassMatrix(bass))
            *bass = nullptr;
        if (!m_loader->GetToneMatrix(tones))
            *tones = nullptr;
        if (!m_loader->GetBassToneMatrix(bassTones))
            *bassTones = nullptr;
    }
    float GetReferencePitch() override { return m_loader->GetReferencePitch(); }
    CString GetKeyName() override { return m_loader->GetKeyName(); }
    void ClearResults() override { m_loader->ClearResults(); }

private:
    CEngineLoader* m_loader;
    HANDLE m_cancel;
};

class WindowPoster : public IStagePoster {
public:
    WindowPoster(HWND wnd, unsigned int run) : m_wnd(wnd), m_run(run) {}
    void PostStage(int stage) override
    {
        // The first post is retried while the queue is full, but not for
        // a window that is gone.
        bool retry = stage == kStageStarted;
        while (!PostMessageA(m_wnd, WM_ANALYSIS_PROGRESS, RunCode((unsigned int)stage, m_run), 0) && retry &&
               IsWindow(m_wnd))
            Sleep(50);
    }

private:
    HWND m_wnd;
    unsigned int m_run;
};

} // namespace

int RunAnalysisJob(CAnalysisJob& job, IStagePoster& poster)
{
    PlayerSong song(job.player);
    LoaderEngine engine(job.engine, job.cancelEvent);
    bool loaded = job.engine && job.engine->IsLoaded();
    return RunAnalysis(song, loaded ? &engine : nullptr, poster, job.results);
}

UINT AnalysisThreadProc(LPVOID param)
{
    CAnalysisJob* job = static_cast<CAnalysisJob*>(param);
    WindowPoster poster(job->notifyWnd, job->run);
    RunAnalysisJob(*job, poster);
    return 0;
}
