#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "app/ChordNames.h"
#include "app/KestrixDoc.h"
#include "app/KestrixViews.h"
#include "tests/app/WaveTestFiles.h"

namespace {

CString Names(int code)
{
    static const char* const n[24] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#",
                                      "A", "A#", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};
    return code >= 0 && code < 24 ? n[code] : "";
}

// Records the hints each of the document's views receives.
struct HintLog {
    std::vector<std::pair<CView*, LPARAM>> hints;
};
HintLog* g_log = nullptr;

class CRecordingChordView : public CKestrixView {
public:
    void OnUpdate(CView*, LPARAM hint, CObject*) override
    {
        if (g_log)
            g_log->hints.push_back({this, hint});
    }
};

class TestHost : public IDocHost {
public:
    CString folder;
    std::vector<std::string> calls;
    CString GetLangString(int id) override { return id == 1 ? "Untitled song" : ""; }
    int GetSetting(const char* key) override { return std::string(key) == "rowsPerPage" ? 5 : -1; }
    int GetSoundCard() override { return 0; }
    CString GetInstallFolder() override { return folder; }
    HWND GetMainWindow() override { return nullptr; }
    CWnd* GetViewParent() override { return nullptr; }
    IDocPanel* GetControlPanel() override { return nullptr; }
    int GetToolsMode() override { return 2; }
    void SetChordOptionsShown(bool on) override { calls.push_back(on ? "options" : "no-options"); }
    void ShowChordDiagram(bool on) override { calls.push_back(on ? "diagram" : "no-diagram"); }
    void ActivateView(CView* v) override { CView::SetActiveView(v); }
    void OnDocumentClosed() override { calls.push_back("closed"); }
    void RefreshPanels() override {}
    void ShowMessage(const CString&, const CString&) override { calls.push_back("message"); }
    bool GetViewBarCount() override { return true; }
    void SetToolsPanelText(const CString&) override {}
    void ShowChordName(const CString&) override {}
    void ShowToolWindows(bool, bool) override {}
};

// Memory runs out once reading passes a byte.
class CStarvedFile : public CMemFile {
public:
    CStarvedFile(const std::vector<unsigned char>& bytes, int64_t limit)
        : CMemFile(bytes.data(), bytes.size()), m_limit(limit)
    {
    }
    unsigned Read(void* buf, unsigned count) override
    {
        if (GetPosition() + count > m_limit)
            throw std::bad_alloc();
        return CMemFile::Read(buf, count);
    }

private:
    int64_t m_limit;
};

class KestrixDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        host.folder = CString(dir) + "quorva_docfolder\\";
        CreateDirectoryA(host.folder, nullptr);
        SetDocHost(&host);
        SetNoteNameSource(Names);
        HWND h = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, h) << "CreateWindowExA failed, error " << GetLastError();
        frame.Attach(h);
        tmpl = new CMultiDocTemplate(0, RUNTIME_CLASS(CKestrixDoc), nullptr, RUNTIME_CLASS(CKestrixView));
        tmpl->SetFrameParent(&frame);
        manager = new CDocManager;
        AfxSetDocManager(manager);
        manager->AddDocTemplate(tmpl);
        g_log = &log;
    }
    void TearDown() override
    {
        // SetUp may have stopped before the manager was made.
        if (manager)
            manager->CloseAllDocuments(TRUE);
        AfxSetDocManager(nullptr);
        g_log = nullptr;
        SetDocHost(nullptr);
        SetNoteNameSource(nullptr);
        DestroyWindow(frame.Detach());
        RemoveDirectoryA(host.folder);
    }
    CKestrixDoc* NewDoc() { return static_cast<CKestrixDoc*>(tmpl->OpenDocumentFile(nullptr)); }
    TestHost host;
    CWnd frame;
    CMultiDocTemplate* tmpl = nullptr;
    CDocManager* manager = nullptr;
    HintLog log;
};

} // namespace

TEST_F(KestrixDocTest, NewDocumentHasThreeViewsOnlyTheChordGridAttached)
{
    CKestrixDoc* doc = NewDoc();
    ASSERT_NE(nullptr, doc);
    EXPECT_EQ(CString("Untitled song"), doc->GetTitle());
    EXPECT_EQ(6000, doc->GetRowLength());
    EXPECT_EQ(5, doc->GetRowsPerPage());
    EXPECT_EQ(0, doc->GetMode());
    EXPECT_EQ(1, doc->GetCurrentView());
    ASSERT_NE(nullptr, doc->GetChordView());
    ASSERT_NE(nullptr, doc->GetBassView());
    ASSERT_NE(nullptr, doc->GetLeadSheetView());
    EXPECT_EQ(1, doc->GetViewCount());
    EXPECT_EQ(doc, doc->GetChordView()->GetDocument());
    EXPECT_EQ(nullptr, doc->GetBassView()->GetDocument());
    EXPECT_TRUE(doc->GetChordView()->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(doc->GetBassView()->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, doc->GetChordView()->GetDlgCtrlID());
    EXPECT_EQ(AFX_IDW_PANE_FIRST + 2, doc->GetBassView()->GetDlgCtrlID());

    doc->ShowBassView();
    EXPECT_EQ(2, doc->GetCurrentView());
    EXPECT_EQ(1, doc->GetViewCount());
    EXPECT_EQ(doc, doc->GetBassView()->GetDocument());
    EXPECT_EQ(AFX_IDW_PANE_FIRST, doc->GetBassView()->GetDlgCtrlID());
    EXPECT_EQ(AFX_IDW_PANE_FIRST + 2, doc->GetChordView()->GetDlgCtrlID());
    EXPECT_TRUE(doc->GetBassView()->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(doc->GetChordView()->GetStyle() & WS_VISIBLE);
    doc->ShowLeadSheetView();
    EXPECT_EQ(0, doc->GetCurrentView());
    EXPECT_EQ(AFX_IDW_PANE_FIRST + 1, doc->GetChordView()->GetDlgCtrlID());
    EXPECT_EQ(std::vector<std::string>({"no-options", "no-diagram", "no-diagram"}), host.calls);
}

TEST_F(KestrixDocTest, HintsReachOnlyTheAttachedViewAndResultsMarkModified)
{
    CKestrixDoc* doc = NewDoc();
    ASSERT_NE(nullptr, doc);
    // Put a recording view in as the shown one.
    auto* rec = new CRecordingChordView;
    RECT rc = {0, 0, 0, 0};
    ASSERT_TRUE(rec->Create(nullptr, nullptr, WS_CHILD, rc, &frame, 0xE910, nullptr));
    doc->m_bAutoDelete = FALSE;
    doc->RemoveView(doc->GetChordView());
    doc->AddView(rec);
    doc->m_bAutoDelete = TRUE;
    EXPECT_FALSE(doc->IsModified());

    std::vector<ChordEntry> chords(3);
    chords[0].root = 3;
    chords[0].major = false;
    chords[0].suffix = "7";
    chords[1].root = 0;
    chords[1].bass = 7;
    chords[2].root = 10;
    chords[2].suffix = "5";
    doc->SetChords(chords);
    EXPECT_TRUE(chords.empty());
    EXPECT_TRUE(doc->HasChords());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(2, doc->GetMode());
    doc->SetTranspose(2);
    std::vector<ChordEntry> out;
    doc->GetChords(out);
    ASSERT_EQ(3u, out.size());
    EXPECT_EQ(CString("Dm7"), out[0].name);
    EXPECT_EQ(CString("B/F#"), out[1].name);
    EXPECT_EQ(CString("A5"), out[2].name); // 12: second spelling
    EXPECT_EQ(CString("D#m7"), doc->BuildChordName(out[0], 3));
    EXPECT_EQ(CString("Dm7"), doc->BuildChordName(out[0], -24));
    // One major chord of three (the power chord counts as neither).
    doc->SetKey("C");
    EXPECT_EQ(CString("Am"), doc->GetKey());
    doc->AdjustZoom(0.1f);
    doc->AdjustZoom(0.5f); // beyond 1.0: refused, no hint

    std::vector<LPARAM> got;
    for (auto& h : log.hints) {
        EXPECT_EQ(rec, h.first);
        got.push_back(h.second);
    }
    EXPECT_EQ(std::vector<LPARAM>({903, 903, 905, 907}), got);
    // Empty chord list: the caller's list stays.
    doc->ClearResults();
    EXPECT_FALSE(doc->HasChords());
    doc->GetChords(out);
    EXPECT_EQ(3u, out.size());
    rec->DestroyWindow();
}

TEST_F(KestrixDocTest, TemporaryNamesDifferAndLoadedAudioPlays)
{
    // A stale file from an earlier run and a second new document.
    const CString stale = host.folder + "tempWavFile4.wav";
    wavtest::WriteFile(stale.GetString(), {1});
    CKestrixDoc* a = NewDoc();
    CKestrixDoc* b = NewDoc();
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(CString("tempWavFile5.wav"), a->GetTempWavName());
    EXPECT_EQ(CString("tempWavFile6.wav"), b->GetTempWavName());
    DeleteFileA(stale);

    // Play, stop and seek on a loaded song.
    const CString song = host.folder + "song.wav";
    ASSERT_TRUE(wavtest::WriteFile(song.GetString(), wavtest::Build(wavtest::Spec(), wavtest::StereoRamp(44100 * 3))));
    CWaveOut* player = a->GetPlayer();
    ASSERT_NE(nullptr, player);
    EXPECT_FALSE(a->Play(false, false)); // no audio yet
    ASSERT_TRUE(player->LoadWave(song));
    a->OnAudioLoaded(static_cast<int>(player->GetLengthMs()));
    EXPECT_EQ(3000, a->GetTotalLength());
    EXPECT_TRUE(a->IsModified());
    a->Seek(1000, false);
    ASSERT_TRUE(a->Play(true, false));
    EXPECT_TRUE(a->IsPlaying());
    for (int i = 0; i < 300 && a->GetPosition() < 1100; ++i)
        Sleep(10);
    a->Stop(false);
    EXPECT_FALSE(a->IsPlaying());
    EXPECT_GE(a->GetPosition(), 1000.0);
    a->Seek(5000, true);
    EXPECT_EQ(2999, static_cast<int>(a->GetPosition()));
    // A failed load leaves neither the player nor the document with audio.
    EXPECT_FALSE(player->LoadWave(host.folder + "missing.wav"));
    a->OnAudioLoadFailed();
    EXPECT_FALSE(a->HasAudio());
    EXPECT_EQ(0, a->GetTotalLength());
    EXPECT_FALSE(a->Play(false, false));
    EXPECT_EQ(0.0, a->GetPosition());
    DeleteFileA(song);
    // Closing the last document tells the host.
    a->OnCloseDocument();
    b->OnCloseDocument();
    EXPECT_EQ(0, manager->GetOpenDocumentCount());
    EXPECT_EQ("closed", host.calls.back());
}

TEST_F(KestrixDocTest, ADocumentWhoseReadingRunsOutOfMemoryIsRefusedWithAMessage)
{
    CKestrixDoc* doc = NewDoc();
    ASSERT_NE(nullptr, doc);
    CMemFile saved;
    {
        CArchive ar(&saved, CArchive::store);
        doc->Serialize(ar);
    }
    CStarvedFile starved(saved.Data(), 20);
    CArchive ar(&starved, CArchive::load);
    host.calls.clear();
    EXPECT_NO_THROW(doc->Serialize(ar));
    EXPECT_EQ(std::vector<std::string>{"message"}, host.calls);
}
