// A synthesised song through the exported engine, as the main program reads
// its four result matrices.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>

#include "SongSynth.h"
#include "shared/IFinder.h"
#include "shared/Messages.h"
#include "tests/support/MessageSink.h"

namespace {

struct Engine {
    HMODULE module = LoadLibraryA("Zumbrel.dll");
    IFinder* finder = nullptr;
    Engine(HWND wnd)
    {
        if (!module)
            return;
        GetFinderFn get = (GetFinderFn)(void*)GetProcAddress(module, "GetFinder");
        finder = get ? get() : nullptr;
        if (finder)
            finder->Initialize(wnd);
    }
    ~Engine()
    {
        if (finder)
            finder->Release();
        if (module)
            FreeLibrary(module);
    }
};

} // namespace

TEST(ZumbrelResults, SongThroughTheExportedObject)
{
    using namespace song;
    MessageSink sink;
    Engine e(sink.hwnd());
    ASSERT_NE(nullptr, e.finder);
    // C G Am F, two seconds each, analysed at 22050 Hz from 44100 Hz input.
    std::vector<song::Chord> played = Progression({{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor}}, 1.0, 2.0);
    std::vector<float> x = Render(played, 10.0, 44100, 440.0);
    e.finder->Analyze(x.data(), 0, (int)x.size(), 44100, nullptr);

    CFloatMatrix *chord = nullptr, *bass = nullptr, *tone = nullptr, *bassTone = nullptr;
    ASSERT_TRUE(e.finder->GetChordMatrix(&chord));
    ASSERT_TRUE(e.finder->GetBassMatrix(&bass));
    ASSERT_TRUE(e.finder->GetToneMatrix(&tone));
    ASSERT_TRUE(e.finder->GetBassToneMatrix(&bassTone));
    ASSERT_EQ(10, chord->GetRows());
    ASSERT_EQ(7, bass->GetRows());
    ASSERT_EQ(7, tone->GetRows());
    ASSERT_EQ(3, bassTone->GetRows());
    ASSERT_EQ(4, chord->GetCols());
    ASSERT_EQ(4, bass->GetCols());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(played[i].root, chord->GetAt(0, i));
        EXPECT_EQ(IsMajor(played[i].quality), chord->GetAt(2, i) > 0.99f);
        EXPECT_NEAR(played[i].start * 1000, chord->GetAt(6, i), 500);
        EXPECT_EQ(played[i].bass, bass->GetAt(0, i));
        EXPECT_NEAR(played[i].start * 1000, bass->GetAt(4, i), 500);
    }
    EXPECT_GE(tone->GetCols(), 4);
    EXPECT_EQ(12.0f, tone->GetAt(5, 0));
    EXPECT_FLOAT_EQ(440.0f, e.finder->GetReferencePitch());
    e.finder->ClearResults();
    EXPECT_EQ(1, chord->GetCols());

    // Progress ended at 100.
    sink.Pump();
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ((LPARAM)100, sink.messages.back().lParam);

    // Silence: no chord and no bass note; the placeholders stay -1.
    std::vector<float> quiet(22050 * 6, 0.0f);
    e.finder->Analyze(quiet.data(), 0, (int)quiet.size(), 22050, nullptr);
    ASSERT_TRUE(e.finder->GetChordMatrix(&chord));
    ASSERT_TRUE(e.finder->GetBassMatrix(&bass));
    ASSERT_EQ(10, chord->GetRows());
    ASSERT_EQ(1, chord->GetCols());
    EXPECT_EQ(-1.0f, chord->GetAt(0, 0));
    EXPECT_EQ(-1.0f, chord->GetAt(8, 0));
    ASSERT_EQ(7, bass->GetRows());
    ASSERT_EQ(1, bass->GetCols());
    EXPECT_EQ(-1.0f, bass->GetAt(0, 0));
}
