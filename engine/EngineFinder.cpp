#include "EngineFinder.h"

#include <new>

#include "../shared/Messages.h"
#include "Names.h"

namespace {
CEngineFinder* g_finder = nullptr;
HWND g_notifyWnd = nullptr;

// Posts engine progress to the window given to Initialize.
class CWindowNotify : public IEngineNotify {
public:
    void PostProgress(int percent) override
    {
        if (g_notifyWnd)
            PostMessageA(g_notifyWnd, WM_ANALYSIS_PROGRESS, 1, (LPARAM)percent);
    }
};
CWindowNotify g_windowNotify;

class CEventCancel : public ICancelSignal {
public:
    CEventCancel(HANDLE h, bool holdForCancel) : m_event(h), m_hold(holdForCancel) {}
    bool IsSignalled() override
    {
        if (!m_event)
            return false;
        // Test switch: the first poll (after the tuning) waits for the
        // cancel, so that a test's Cancel comes while the engine is at work
        // however slow or fast the machine is.
        if (m_hold) {
            m_hold = false;
            return WaitForSingleObject(m_event, 20000) == WAIT_OBJECT_0;
        }
        return WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_event;
    bool m_hold;
};
} // namespace

extern "C" IFinder* GetFinder()
{
    if (!g_finder)
        g_finder = new (std::nothrow) CEngineFinder();
    return g_finder;
}

CEngineFinder::CEngineFinder() : m_engine(nullptr) {}

CEngineFinder::~CEngineFinder()
{
    delete m_engine;
    m_engine = nullptr;
    if (g_finder == this)
        g_finder = nullptr;
    g_notifyWnd = nullptr;
}

void CEngineFinder::Release()
{
    // Destroyed as its own type; a later GetFinder makes a fresh object.
    delete this;
}

void CEngineFinder::Initialize(HWND notifyWnd)
{
    g_notifyWnd = notifyWnd;
    delete m_engine;
    m_engine = nullptr;
    // Test switch: behave as if the engine could not be created.
    char fail[4];
    if (GetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", fail, sizeof fail) > 0)
        return;
    m_engine = new (std::nothrow) CAnalysisEngine(&g_windowNotify);
}

IFinder* CEngineFinder::GetInstance() { return GetFinder(); }

void CEngineFinder::Analyze(const float* samples, int reserved, int count, int sampleRate,
                            HANDLE cancelEvent)
{
    (void)reserved;
    if (!m_engine) {
        if (g_notifyWnd)
            PostMessageA(g_notifyWnd, WM_ANALYSIS_NO_ENGINE, 0, 0);
        return;
    }
    char hold[4];
    CEventCancel cancel(cancelEvent, GetEnvironmentVariableA("ZUMBREL_HOLD_FOR_CANCEL", hold, sizeof hold) > 0);
    try {
        m_engine->Analyze(samples, count, sampleRate, &cancel);
    } catch (const std::bad_alloc&) {
        // A song too long for the buffers: no results, and the program
        // says why rather than a crash.
        m_engine->ClearResults();
        if (g_notifyWnd)
            PostMessageA(g_notifyWnd, WM_ANALYSIS_PROGRESS, kAnalysisOutOfMemory, 0);
    }
}

// Without an engine (its creation failed) there are no matrices to hand out:
// report that instead of dereferencing nothing.
bool CEngineFinder::GetChordMatrix(CFloatMatrix** out)
{
    *out = m_engine ? m_engine->ChordMatrix() : nullptr;
    return m_engine != nullptr;
}
bool CEngineFinder::GetBassMatrix(CFloatMatrix** out)
{
    *out = m_engine ? m_engine->BassMatrix() : nullptr;
    return m_engine != nullptr;
}
bool CEngineFinder::GetToneMatrix(CFloatMatrix** out)
{
    *out = m_engine ? m_engine->ToneMatrix() : nullptr;
    return m_engine != nullptr;
}
bool CEngineFinder::GetBassToneMatrix(CFloatMatrix** out)
{
    *out = m_engine ? m_engine->BassToneMatrix() : nullptr;
    return m_engine != nullptr;
}
void CEngineFinder::ClearResults()
{
    if (m_engine)
        m_engine->ClearResults();
}
CString CEngineFinder::GetNoteName(int note) { return GetNoteNameText(note); }
int CEngineFinder::GetReservedValue() { return -1; }
float CEngineFinder::GetReferencePitch() { return m_engine ? m_engine->GetReferencePitch() : 0.0f; }
CString CEngineFinder::GetKeyName() { return m_engine ? m_engine->GetKeyName() : CString(); }
CString CEngineFinder::GetVersion() { return CString("2.0.3"); }
