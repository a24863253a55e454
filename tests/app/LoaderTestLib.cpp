// A stand-in for the engine and conversion libraries, built twice: with the
// exports and (LOADER_TEST_NO_EXPORTS) without them.
#include "LoaderTestLib.h"

#include "shared/IFinder.h"
#include "shared/ISoundLibrary.h"

namespace {

LoaderTestLogFn g_log = nullptr;
int g_returnNull = 0;

void Log(const char* event, void* value = nullptr)
{
    if (g_log)
        g_log(event, value);
}

#ifndef LOADER_TEST_NO_EXPORTS
class TestFinder final : public IFinder {
public:
    void Release() override
    {
        Log("Release");
        delete this;
    }
    void Initialize(HWND w) override { Log("Initialize", (void*)w); }
    IFinder* GetInstance() override { return this; }
    void Analyze(const float*, int, int, int, HANDLE) override {}
    bool GetChordMatrix(CFloatMatrix**) override { return false; }
    bool GetBassMatrix(CFloatMatrix**) override { return false; }
    bool GetToneMatrix(CFloatMatrix**) override { return false; }
    bool GetBassToneMatrix(CFloatMatrix**) override { return false; }
    void ClearResults() override {}
    CString GetNoteName(int) override { return CString(); }
    int GetReservedValue() override { return 0; }
    float GetReferencePitch() override { return 440.0f; }
    CString GetKeyName() override { return CString("C"); }
    CString GetVersion() override { return CString("test"); }
};

class TestSound final : public ISoundLibrary {
public:
    void Release() override
    {
        Log("Release");
        delete this;
    }
    void SetNotifyWindow(HWND w) override { Log("SetNotifyWindow", (void*)w); }
    ISoundLibrary* GetInstance() override { return this; }
    SoundExtensionList* GetFileExtensions(SoundExtensionList** out) override
    {
        if (out)
            *out = &m_list;
        return &m_list;
    }
    void Convert(CString, CString, unsigned int) override {}
    CString GetVersion() override { return CString("test"); }

private:
    SoundExtensionList m_list;
};
#endif

} // namespace

extern "C" {

__declspec(dllexport) void SetLoaderTestLog(LoaderTestLogFn log) { g_log = log; }
__declspec(dllexport) void SetLoaderTestNull(int returnNull) { g_returnNull = returnNull; }

#ifndef LOADER_TEST_NO_EXPORTS
__declspec(dllexport) IFinder* GetFinder()
{
    Log("GetFinder");
    return g_returnNull ? nullptr : new TestFinder;
}

__declspec(dllexport) ISoundLibrary* GetQuorvaSound()
{
    Log("GetQuorvaSound");
    return g_returnNull ? nullptr : new TestSound;
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_DETACH)
        Log("Detach");
    return TRUE;
}
}
