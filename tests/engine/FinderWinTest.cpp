// The engine library as the main program binds it: by name, at run time.
#include <gtest/gtest.h>
#include <windows.h>

#include "shared/IFinder.h"
#include "shared/Messages.h"
#include "tests/support/MessageSink.h"

namespace {
struct Library {
    HMODULE module = LoadLibraryA("Zumbrel.dll");
    ~Library()
    {
        if (module)
            FreeLibrary(module);
    }
    GetFinderFn Get() const { return (GetFinderFn)(void*)GetProcAddress(module, "GetFinder"); }
};
} // namespace

TEST(ZumbrelDll, ExportsGetFinderByNameAndOrdinal)
{
    Library lib;
    ASSERT_NE(nullptr, lib.module);
    FARPROC byName = GetProcAddress(lib.module, "GetFinder");
    FARPROC byOrdinal = GetProcAddress(lib.module, MAKEINTRESOURCEA(1));
    ASSERT_NE(nullptr, byName);
    EXPECT_EQ(byName, byOrdinal);
}

TEST(ZumbrelDll, SingletonReleaseAndRecreate)
{
    Library lib;
    GetFinderFn get = lib.Get();
    ASSERT_NE(nullptr, get);
    IFinder* a = get();
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a, get());
    EXPECT_EQ(a, a->GetInstance());
    EXPECT_EQ(-1, a->GetReservedValue());
    a->Release();
    IFinder* b = get();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(b, get());
    b->Release();
}

TEST(ZumbrelDll, StringsFromTheDllAreFreedHere)
{
    Library lib;
    IFinder* f = lib.Get()();
    {
        CString v = f->GetVersion();
        EXPECT_STREQ("2.0.3", v);
        v += " and more text so that the buffer is reallocated by this module";
        CString n = f->GetNoteName(1);
        EXPECT_STREQ("Bb", n);
        n = f->GetNoteName(13); // assignment frees the DLL's buffer here
        EXPECT_STREQ("A#", n);
    }
    EXPECT_STREQ("Db", f->GetNoteName(16));
    EXPECT_STREQ("G#", f->GetNoteName(-1));
    EXPECT_STREQ("A", f->GetNoteName(-12));
    f->Release();
}

TEST(ZumbrelDll, AnalyzeWithoutEnginePostsNoEngine)
{
    Library lib;
    MessageSink sink;
    IFinder* f = lib.Get()();
    // Make the engine's creation fail, as when memory runs out.
    SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", "1");
    f->Initialize(sink.hwnd());
    SetEnvironmentVariableA("ZUMBREL_FAIL_ENGINE_CREATE", nullptr);
    float samples[16] = {};
    f->Analyze(samples, 0, 16, 22050, nullptr);
    sink.Pump();
    ASSERT_EQ(1u, sink.messages.size());
    EXPECT_EQ(WM_ANALYSIS_NO_ENGINE, sink.messages[0].msg);
    EXPECT_EQ(0u, sink.messages[0].wParam);
    EXPECT_EQ(0, sink.messages[0].lParam);
    // Nothing to hand out, and nothing to crash on.
    CFloatMatrix* m = reinterpret_cast<CFloatMatrix*>(&sink);
    EXPECT_FALSE(f->GetChordMatrix(&m));
    EXPECT_EQ(nullptr, m);
    EXPECT_FALSE(f->GetBassToneMatrix(&m));
    f->ClearResults();
    EXPECT_EQ(0.0f, f->GetReferencePitch());
    EXPECT_STREQ("", f->GetKeyName());
    f->Release();
}

TEST(ZumbrelDll, CancelledBeforeStartLeavesZeroResults)
{
    Library lib;
    MessageSink sink;
    IFinder* f = lib.Get()();
    f->Initialize(sink.hwnd());
    HANDLE cancel = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    std::vector<float> samples(22050 * 2, 0.0f);
    f->Analyze(samples.data(), 0, (int)samples.size(), 22050, cancel);
    sink.Pump();
    EXPECT_TRUE(sink.messages.empty());
    CFloatMatrix* m[4] = {};
    EXPECT_TRUE(f->GetChordMatrix(&m[0]));
    EXPECT_TRUE(f->GetBassMatrix(&m[1]));
    EXPECT_TRUE(f->GetToneMatrix(&m[2]));
    EXPECT_TRUE(f->GetBassToneMatrix(&m[3]));
    for (CFloatMatrix* x : m) {
        ASSERT_EQ(1, x->GetRows());
        ASSERT_EQ(1, x->GetCols());
        EXPECT_EQ(0.0f, x->GetAt(0, 0));
    }
    f->ClearResults();
    CFloatMatrix* again = nullptr;
    f->GetChordMatrix(&again);
    EXPECT_EQ(m[0], again);
    EXPECT_EQ(1, again->GetRows());
    CloseHandle(cancel);
    f->Release();
}
