#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ExeFolder.h"
#include "DialogWatcher.h"
#include "LoaderTestLib.h"
#include "app/LangText.h"
#include "app/LanguageTable.h"
#include "app/LibraryLoaders.h"
#include "tests/support/MessageSink.h"

namespace {

// Plain storage: the libraries may report their unloading late.
struct LoggedEvent {
    char name[24];
    void* value;
};
LoggedEvent g_events[32];
int g_eventCount = 0;

void RecordEvent(const char* event, void* value)
{
    if (g_eventCount < 32) {
        std::strncpy(g_events[g_eventCount].name, event, sizeof g_events[0].name - 1);
        g_events[g_eventCount].value = value;
        ++g_eventCount;
    }
}

std::string EventNames()
{
    std::string s;
    for (int i = 0; i < g_eventCount; ++i)
        s += std::string(i ? " " : "") + g_events[i].name;
    return s;
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_eventCount = 0;
        std::string file = ExeFolder() + "loader-test-languages.txt";
        // Text 5 with stray conversions: only the %d may be filled.
        std::ofstream(file) << "[English]\n5=Load failed (%d, %s, 100%%): \nend\n";
        ASSERT_TRUE(m_texts.Load(file.c_str()));
        m_texts.SelectIndex(0);
        SetLangTextTable(&m_texts);
        DeleteFileA(file.c_str());
    }
    void TearDown() override { SetLangTextTable(nullptr); }

    // Loads the library for the test's own use and installs the event log.
    HMODULE Hold(const char* name)
    {
        HMODULE h = LoadLibraryA((ExeFolder() + name).c_str());
        EXPECT_NE(nullptr, h);
        SetLoaderTestLogFn set = (SetLoaderTestLogFn)(void*)GetProcAddress(h, "SetLoaderTestLog");
        EXPECT_NE(nullptr, set);
        set(&RecordEvent);
        return h;
    }
    static void SetNull(HMODULE h, int on)
    {
        ((SetLoaderTestNullFn)(void*)GetProcAddress(h, "SetLoaderTestNull"))(on);
    }

    CLanguageTable m_texts;
    MessageSink m_sink;
};

} // namespace

TEST_F(LoaderTest, MissingEngineLibraryShowsTextFiveWithCodeAndPath)
{
    std::string path = ExeFolder() + "NoSuchEngine.dll";
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk);
    CEngineLoader loader(m_sink.hwnd(), path.c_str());
    EXPECT_FALSE(loader.IsLoaded());
    ASSERT_TRUE(watcher.found());
    std::string expected = "Load failed (126, %s, 100%): " + path;
    bool shown = false;
    for (const std::string& t : watcher.texts)
        shown = shown || t == expected;
    EXPECT_TRUE(shown) << "expected: " << expected;
    loader.Unload(); // nothing held: nothing happens
    EXPECT_FALSE(loader.IsLoaded());
}

TEST_F(LoaderTest, MissingSoundLibraryAddsTheSystemText)
{
    std::string path = ExeFolder() + "NoSuchSound.dll";
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk);
    CSoundLibraryLoader loader(m_sink.hwnd(), path.c_str());
    EXPECT_FALSE(loader.IsLoaded());
    EXPECT_EQ(nullptr, loader.GetFileExtensions());
    ASSERT_TRUE(watcher.found());
    std::string prefix = "Load failed (126, %s, 100%): " + path + "\n";
    std::string shown;
    for (const std::string& t : watcher.texts)
        if (t.compare(0, prefix.size(), prefix) == 0)
            shown = t;
    ASSERT_FALSE(shown.empty()) << "expected a text starting with: " << prefix;
    EXPECT_GT(shown.size(), prefix.size()); // the system's text follows
    EXPECT_EQ(CString(shown.c_str()), LibraryLoadFailureText(path.c_str(), 126, true));
}

TEST_F(LoaderTest, LibraryWithoutExportIsUnloadedWithoutRelease)
{
    std::string path = ExeFolder() + "LoaderTestNoExport.dll";
    {
        DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk);
        CEngineLoader engine(m_sink.hwnd(), path.c_str());
        CSoundLibraryLoader sound(m_sink.hwnd(), path.c_str());
        EXPECT_FALSE(engine.IsLoaded());
        EXPECT_FALSE(sound.IsLoaded());
        HMODULE h = GetModuleHandleA("LoaderTestNoExport.dll");
        ASSERT_NE(nullptr, h);
        ((SetLoaderTestLogFn)(void*)GetProcAddress(h, "SetLoaderTestLog"))(&RecordEvent);
        EXPECT_FALSE(watcher.found()); // no message from the loader
    }
    EXPECT_EQ("Detach", EventNames());
    EXPECT_EQ(nullptr, GetModuleHandleA("LoaderTestNoExport.dll"));
}

TEST_F(LoaderTest, EngineIsInitialisedAndReleasedBeforeUnload)
{
    std::string path = ExeFolder() + "LoaderTestLib.dll";
    HMODULE own = Hold("LoaderTestLib.dll");
    {
        CEngineLoader loader(m_sink.hwnd(), path.c_str());
        FreeLibrary(own); // the loader's reference is the last one now
        ASSERT_TRUE(loader.IsLoaded());
        EXPECT_EQ("GetFinder Initialize", EventNames());
        EXPECT_EQ((void*)m_sink.hwnd(), g_events[1].value);
        EXPECT_EQ(CString("C"), loader.GetKeyName());
        EXPECT_FLOAT_EQ(440.0f, loader.GetReferencePitch());
    }
    EXPECT_EQ("GetFinder Initialize Release Detach", EventNames());
    EXPECT_EQ(nullptr, GetModuleHandleA("LoaderTestLib.dll"));
}

TEST_F(LoaderTest, SoundLibraryIsGivenTheWindowAndReleasedBeforeUnload)
{
    std::string path = ExeFolder() + "LoaderTestLib.dll";
    HMODULE own = Hold("LoaderTestLib.dll");
    {
        CSoundLibraryLoader loader(m_sink.hwnd(), path.c_str());
        FreeLibrary(own);
        ASSERT_TRUE(loader.IsLoaded());
        EXPECT_NE(nullptr, loader.GetFileExtensions());
        loader.Unload();
        EXPECT_FALSE(loader.IsLoaded());
        EXPECT_EQ(nullptr, GetModuleHandleA("LoaderTestLib.dll"));
    } // the destructor's second Unload does nothing
    EXPECT_EQ("GetQuorvaSound SetNotifyWindow Release Detach", EventNames());
    EXPECT_EQ((void*)m_sink.hwnd(), g_events[1].value);
}

TEST_F(LoaderTest, NullInstanceIsNotLoadedAndNotReleased)
{
    std::string path = ExeFolder() + "LoaderTestLib.dll";
    HMODULE own = Hold("LoaderTestLib.dll");
    SetNull(own, 1);
    {
        DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk);
        CEngineLoader engine(m_sink.hwnd(), path.c_str());
        CSoundLibraryLoader sound(m_sink.hwnd(), path.c_str());
        EXPECT_FALSE(engine.IsLoaded());
        EXPECT_FALSE(sound.IsLoaded());
        EXPECT_FALSE(watcher.found());
    }
    EXPECT_EQ("GetFinder GetQuorvaSound", EventNames());
    EXPECT_NE(nullptr, GetModuleHandleA("LoaderTestLib.dll")); // only our reference is left
    FreeLibrary(own);
    EXPECT_EQ("GetFinder GetQuorvaSound Detach", EventNames());
}
