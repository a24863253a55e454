#include "AnalysisEngine.h"

CAnalysisEngine::CAnalysisEngine(IEngineNotify* notify)
    : m_notify(notify), m_referencePitch(0.0f)
{
}

CAnalysisEngine::~CAnalysisEngine() { m_notify = nullptr; }

void CAnalysisEngine::Post(int percent)
{
    if (m_notify)
        m_notify->PostProgress(percent);
}

bool CAnalysisEngine::Cancelled(ICancelSignal* cancel) { return cancel && cancel->IsSignalled(); }

void CAnalysisEngine::StopWithZeros()
{
    m_chord.Create(1, 1, 0.0f);
    m_bass.Create(1, 1, 0.0f);
    m_tone.Create(1, 1, 0.0f);
    m_bassTone.Create(1, 1, 0.0f);
}

void CAnalysisEngine::ClearResults()
{
    m_chord.Allocate(1, 1);
    m_bass.Allocate(1, 1);
    m_tone.Allocate(1, 1);
    m_bassTone.Allocate(1, 1);
}

void CAnalysisEngine::Analyze(const float* samples, int count, int sampleRate, ICancelSignal* cancel)
{
    (void)samples;
    (void)count;
    (void)sampleRate;
    if (Cancelled(cancel)) {
        StopWithZeros();
        return;
    }
    // The analysis stages are not wired in yet: report no result.
    Post(0);
    StopWithZeros();
}
