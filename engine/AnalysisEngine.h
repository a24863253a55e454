#pragma once
// The analysis engine: mono float samples in, four result matrices, a key
// name and a reference pitch out.

#include "../framework/CString.h"
#include "../shared/FloatMatrix.h"
#include "EngineHost.h"

class CAnalysisEngine {
public:
    explicit CAnalysisEngine(IEngineNotify* notify);
    ~CAnalysisEngine();

    // Runs synchronously; returns when finished or stopped. cancel may be null.
    void Analyze(const float* samples, int count, int sampleRate, ICancelSignal* cancel);
    // Leaves all four results 1 x 1 without a fill.
    void ClearResults();

    CFloatMatrix* ChordMatrix() { return &m_chord; }
    CFloatMatrix* BassMatrix() { return &m_bass; }
    CFloatMatrix* ToneMatrix() { return &m_tone; }
    CFloatMatrix* BassToneMatrix() { return &m_bassTone; }
    float GetReferencePitch() const { return m_referencePitch; }
    const CString& GetKeyName() const { return m_keyName; }

private:
    void Post(int percent);
    bool Cancelled(ICancelSignal* cancel);
    void StopWithZeros();

    CString m_keyName;
    IEngineNotify* m_notify;
    float m_referencePitch;
    CFloatMatrix m_chord;
    CFloatMatrix m_bass;
    CFloatMatrix m_tone;
    CFloatMatrix m_bassTone;
};
