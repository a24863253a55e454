#pragma once
// Holders of the two run-time bound libraries: the analysis engine
// (GetFinder -> IFinder) and the conversion library (GetQuorvaSound ->
// ISoundLibrary). Each loads its library from a full path, takes the
// library's single instance, hands it the window for the library's messages,
// and on destruction releases the instance before unloading the library.
#include <windows.h>

#include "framework/CString.h"
#include "shared/IFinder.h"
#include "shared/ISoundLibrary.h"

class CEngineLoader {
public:
    // A library that does not load is reported with text 5, the error code
    // and the path; a missing export or null instance only leaves the
    // loader unloaded.
    CEngineLoader(HWND notifyWnd, const char* path);
    ~CEngineLoader();
    CEngineLoader(const CEngineLoader&) = delete;
    CEngineLoader& operator=(const CEngineLoader&) = delete;

    bool IsLoaded() const { return m_pFinder != nullptr; }
    // Release, then unload.
    void Unload();

    // Forwarders for the analysis worker; harmless when nothing is loaded.
    void Analyze(const float* samples, int reserved, int count, int sampleRate, HANDLE cancelEvent);
    bool GetChordMatrix(CFloatMatrix** out);
    bool GetBassMatrix(CFloatMatrix** out);
    bool GetToneMatrix(CFloatMatrix** out);
    bool GetBassToneMatrix(CFloatMatrix** out);
    void ClearResults();
    CString GetNoteName(int note);
    float GetReferencePitch();
    CString GetKeyName();
    CString GetVersion();

private:
    IFinder* m_pFinder;
    HMODULE m_hModule;
};

class CSoundLibraryLoader {
public:
    // As the engine loader; the failure message adds the system's text.
    CSoundLibraryLoader(HWND notifyWnd, const char* path);
    ~CSoundLibraryLoader();
    CSoundLibraryLoader(const CSoundLibraryLoader&) = delete;
    CSoundLibraryLoader& operator=(const CSoundLibraryLoader&) = delete;

    bool IsLoaded() const { return m_pLibrary != nullptr; }
    void Unload();

    // The list stays owned by the library; null when nothing is loaded.
    SoundExtensionList* GetFileExtensions();
    // Its messages carry run (see RunCode).
    void Convert(const CString& source, const CString& target, unsigned int run);

private:
    ISoundLibrary* m_pLibrary;
    HMODULE m_hModule;
};

// The failure message of a library that did not load: text 5 with the error
// code filled in, the path, and for the conversion loader "\n" and the
// system's text for the code.
CString LibraryLoadFailureText(const char* path, DWORD error, bool withSystemText);
