#include "LibraryLoaders.h"

#include "LangText.h"
#include "TextConvert.h"
#include "framework/App.h"

namespace {

HMODULE LoadOrReport(const char* path, bool withSystemText)
{
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        DWORD error = GetLastError();
        AfxMessageBox(LibraryLoadFailureText(path, error, withSystemText), MB_OK);
    }
    return module;
}

void ReleaseModule(HMODULE& module)
{
    if (module) {
        FreeLibrary(module);
        module = nullptr;
    }
}

} // namespace

CString LibraryLoadFailureText(const char* path, DWORD error, bool withSystemText)
{
    // Text 5 comes from an editable file: never hand it to printf.
    CString text = FormatWithOneInt(LangText(5), (int)error) + path;
    if (withSystemText) {
        char* system = nullptr;
        // No inserts: some system texts hold %1 and nothing would fill them.
        DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                 (LPSTR)&system, 0, nullptr);
        text += "\n";
        if (n && system)
            text += system;
        if (system)
            LocalFree(system);
    }
    return text;
}

CEngineLoader::CEngineLoader(HWND notifyWnd, const char* path)
    : m_pFinder(nullptr), m_hModule(LoadOrReport(path, false))
{
    if (!m_hModule)
        return;
    GetFinderFn get = (GetFinderFn)(void*)GetProcAddress(m_hModule, "GetFinder");
    if (get)
        m_pFinder = get();
    if (m_pFinder)
        m_pFinder->Initialize(notifyWnd);
}

CEngineLoader::~CEngineLoader() { Unload(); }

void CEngineLoader::Unload()
{
    if (m_pFinder) {
        m_pFinder->Release();
        m_pFinder = nullptr;
    }
    ReleaseModule(m_hModule);
}

void CEngineLoader::Analyze(const float* samples, int reserved, int count, int sampleRate, HANDLE cancelEvent)
{
    if (m_pFinder)
        m_pFinder->Analyze(samples, reserved, count, sampleRate, cancelEvent);
}

bool CEngineLoader::GetChordMatrix(CFloatMatrix** out) { return m_pFinder && m_pFinder->GetChordMatrix(out); }
bool CEngineLoader::GetBassMatrix(CFloatMatrix** out) { return m_pFinder && m_pFinder->GetBassMatrix(out); }
bool CEngineLoader::GetToneMatrix(CFloatMatrix** out) { return m_pFinder && m_pFinder->GetToneMatrix(out); }
bool CEngineLoader::GetBassToneMatrix(CFloatMatrix** out)
{
    return m_pFinder && m_pFinder->GetBassToneMatrix(out);
}

void CEngineLoader::ClearResults()
{
    if (m_pFinder)
        m_pFinder->ClearResults();
}

CString CEngineLoader::GetNoteName(int note) { return m_pFinder ? m_pFinder->GetNoteName(note) : CString(); }
float CEngineLoader::GetReferencePitch() { return m_pFinder ? m_pFinder->GetReferencePitch() : 0.0f; }
CString CEngineLoader::GetKeyName() { return m_pFinder ? m_pFinder->GetKeyName() : CString(); }
CString CEngineLoader::GetVersion() { return m_pFinder ? m_pFinder->GetVersion() : CString(); }

CSoundLibraryLoader::CSoundLibraryLoader(HWND notifyWnd, const char* path)
    : m_pLibrary(nullptr), m_hModule(LoadOrReport(path, true))
{
    if (!m_hModule)
        return;
    GetQuorvaSoundFn get = (GetQuorvaSoundFn)(void*)GetProcAddress(m_hModule, "GetQuorvaSound");
    if (get)
        m_pLibrary = get();
    if (m_pLibrary)
        m_pLibrary->SetNotifyWindow(notifyWnd);
}

CSoundLibraryLoader::~CSoundLibraryLoader() { Unload(); }

void CSoundLibraryLoader::Unload()
{
    if (m_pLibrary) {
        m_pLibrary->Release();
        m_pLibrary = nullptr;
    }
    ReleaseModule(m_hModule);
}

SoundExtensionList* CSoundLibraryLoader::GetFileExtensions()
{
    return m_pLibrary ? m_pLibrary->GetFileExtensions(nullptr) : nullptr;
}

void CSoundLibraryLoader::Convert(const CString& source, const CString& target, unsigned int run)
{
    if (m_pLibrary)
        m_pLibrary->Convert(source, target, run);
}
