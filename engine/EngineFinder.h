#pragma once
#include "../shared/IFinder.h"
#include "AnalysisEngine.h"

// The library's single IFinder object.
class CEngineFinder : public IFinder {
public:
    CEngineFinder();

    void Release() override;
    void Initialize(HWND notifyWnd) override;
    IFinder* GetInstance() override;
    void Analyze(const float* samples, int reserved, int count, int sampleRate,
                 HANDLE cancelEvent) override;
    bool GetChordMatrix(CFloatMatrix** out) override;
    bool GetBassMatrix(CFloatMatrix** out) override;
    bool GetToneMatrix(CFloatMatrix** out) override;
    bool GetBassToneMatrix(CFloatMatrix** out) override;
    void ClearResults() override;
    CString GetNoteName(int note) override;
    int GetReservedValue() override;
    float GetReferencePitch() override;
    CString GetKeyName() override;
    CString GetVersion() override;

    virtual ~CEngineFinder();

private:
    CAnalysisEngine* m_engine;
};

extern "C" IFinder* GetFinder();
