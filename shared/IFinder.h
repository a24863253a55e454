#pragma once
// Interface of the analysis engine's single object, exported by Zumbrel.dll
// through GetFinder (by name and ordinal 1).

#include <windows.h>

#include "FloatMatrix.h"
#include "../framework/CString.h"

class IFinder {
public:
    virtual void Release() = 0;
    virtual void Initialize(HWND notifyWnd) = 0;
    virtual IFinder* GetInstance() = 0;
    virtual void Analyze(const float* samples, int reserved, int count, int sampleRate,
                         HANDLE cancelEvent) = 0;
    virtual bool GetChordMatrix(CFloatMatrix** out) = 0;
    virtual bool GetBassMatrix(CFloatMatrix** out) = 0;
    virtual bool GetToneMatrix(CFloatMatrix** out) = 0;
    virtual bool GetBassToneMatrix(CFloatMatrix** out) = 0;
    virtual void ClearResults() = 0;
    virtual CString GetNoteName(int note) = 0;
    virtual int GetReservedValue() = 0;
    virtual float GetReferencePitch() = 0;
    virtual CString GetKeyName() = 0;
    virtual CString GetVersion() = 0;

protected:
    // The object is destroyed only by Release, as its own type.
    ~IFinder() = default;
};

typedef IFinder* (*GetFinderFn)();
