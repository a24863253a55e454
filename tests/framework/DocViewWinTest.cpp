#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/DocView.h"
#include "framework/MsgMap.h"
#include "framework/Thread.h"

namespace {

class CNoteDoc : public CDocument {
    DECLARE_DYNCREATE(CNoteDoc)
public:
    int value = 0;
    CString text;
    int prompts = 0;
    int answer = IDNO;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << static_cast<int32_t>(value) << text;
        else {
            int32_t v = 0;
            ar >> v >> text;
            value = v;
        }
    }
    int PromptSaveModified(LPCSTR) override
    {
        ++prompts;
        return answer;
    }
    void ReportSaveLoadException(LPCSTR, CException*, BOOL) override { ++reports; }
    void DeleteContents() override
    {
        value = 0;
        text.Empty();
    }
    int reports = 0;
};
IMPLEMENT_DYNCREATE(CNoteDoc, CDocument)

std::vector<LPARAM>* g_hints = nullptr;
int g_initialUpdates = 0;

class CNoteView : public CView {
    DECLARE_DYNCREATE(CNoteView)
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++g_initialUpdates; }
    void OnUpdate(CView*, LPARAM hint, CObject*) override
    {
        if (g_hints)
            g_hints->push_back(hint);
    }
};
IMPLEMENT_DYNCREATE(CNoteView, CView)

class DocView : public ::testing::Test {
protected:
    void SetUp() override
    {
        HWND h = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, h) << "CreateWindowExA failed, error " << GetLastError();
        host.Attach(h);
        tmpl = new CMultiDocTemplate(0, RUNTIME_CLASS(CNoteDoc), nullptr, RUNTIME_CLASS(CNoteView));
        tmpl->SetDocStrings("\nNote\nNote\nNote Files (*.nte)\n.nte\n");
        tmpl->SetFrameParent(&host);
        manager = new CDocManager;
        AfxSetDocManager(manager);
        manager->AddDocTemplate(tmpl);
        g_hints = &hints;
        g_initialUpdates = 0;
    }
    void TearDown() override
    {
        // SetUp may have stopped before the manager was made.
        if (manager)
            manager->CloseAllDocuments(TRUE);
        AfxSetDocManager(nullptr);
        g_hints = nullptr;
        HWND h = host.Detach();
        DestroyWindow(h);
    }
    CWnd host;
    CMultiDocTemplate* tmpl = nullptr;
    CDocManager* manager = nullptr;
    std::vector<LPARAM> hints;
};

// Counts the idle command-UI updates it is sent.
class CIdleCounter : public CWnd {
public:
    int updates = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_IDLEUPDATECMDUI)
            ++updates;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

} // namespace

TEST_F(DocView, NewDocumentGetsItsViewInTheWindowAndHints)
{
    CDocument* doc = tmpl->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, doc);
    EXPECT_TRUE(doc->IsKindOf(RUNTIME_CLASS(CNoteDoc)));
    EXPECT_EQ(CString("Note1"), doc->GetTitle());
    ASSERT_EQ(1, doc->GetViewCount());
    EXPECT_EQ(1, g_initialUpdates);
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    EXPECT_EQ(nullptr, pos);
    ASSERT_NE(nullptr, view->m_hWnd);
    EXPECT_EQ(host.m_hWnd, ::GetParent(view->m_hWnd));
    EXPECT_EQ(AFX_IDW_PANE_FIRST, view->GetDlgCtrlID());
    EXPECT_EQ(doc, view->GetDocument());
    EXPECT_EQ(view, CView::GetActiveView());

    doc->UpdateAllViews(nullptr, 903);
    doc->UpdateAllViews(view, 904); // the sender is skipped
    ASSERT_EQ(1u, hints.size());
    EXPECT_EQ(903, hints[0]);

    // A detached view hears nothing.
    doc->m_bAutoDelete = FALSE;
    doc->RemoveView(view);
    doc->UpdateAllViews(nullptr, 905);
    EXPECT_EQ(1u, hints.size());
    doc->AddView(view);
    doc->m_bAutoDelete = TRUE;
    EXPECT_EQ(1, manager->GetOpenDocumentCount());
    // Destroying the last view closes the document.
    view->DestroyWindow();
    EXPECT_EQ(0, manager->GetOpenDocumentCount());
}

TEST_F(DocView, SaveOpenAndAskBeforeDiscarding)
{
    const std::string path = TempFile("quorva_docview.nte");
    auto* doc = static_cast<CNoteDoc*>(tmpl->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, doc);
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_EQ(0, doc->prompts); // nothing changed: no question
    doc->value = 42;
    doc->text = "hello";
    doc->SetModifiedFlag();
    doc->answer = IDCANCEL;
    EXPECT_FALSE(doc->SaveModified());
    EXPECT_EQ(1, doc->prompts);
    ASSERT_TRUE(doc->DoSave(path.c_str()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(CString("quorva_docview.nte"), doc->GetTitle());
    doc->OnFileClose();
    EXPECT_EQ(0, manager->GetOpenDocumentCount());

    auto* again = static_cast<CNoteDoc*>(manager->OpenDocumentFile(path.c_str()));
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(42, again->value);
    EXPECT_EQ(CString("hello"), again->text);
    EXPECT_FALSE(again->IsModified());
    // Opening it a second time gives the open document.
    EXPECT_EQ(again, manager->OpenDocumentFile(path.c_str()));
    EXPECT_EQ(1, manager->GetOpenDocumentCount());

    // A truncated file fails to open, reported, with no document left.
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, "\x01\x00", 2, &written, nullptr);
    CloseHandle(f);
    again->OnFileClose();
    EXPECT_EQ(nullptr, manager->OpenDocumentFile(path.c_str()));
    EXPECT_EQ(0, manager->GetOpenDocumentCount());
    DeleteFileA(path.c_str());
}

TEST_F(DocView, ScrollViewClampsItsPosition)
{
    class CScroller : public CScrollView {
    public:
        void OnDraw(CDC*) override {}
    };
    auto* v = new CScroller;
    RECT rc = {0, 0, 200, 100};
    ASSERT_TRUE(v->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, &host, 1, nullptr));
    v->SetScrollSizes(MM_TEXT, SIZE{1000, 500});
    v->ScrollToPosition(POINT{5000, 30});
    RECT client;
    v->GetClientRect(&client);
    EXPECT_EQ(1000 - client.right, v->GetScrollPosition().x);
    EXPECT_EQ(30, v->GetScrollPosition().y);
    v->ScrollToPosition(POINT{-4, -4});
    EXPECT_EQ(0, v->GetScrollPosition().x);
    v->DestroyWindow(); // deletes the view
}

TEST_F(DocView, IdleCommandUiPassesOverTheChildrenOfViews)
{
    // A bar beside the view is updated; a view's own children (a lyric edit
    // per row) are not visited, so idle time does not grow with the song.
    CDocument* doc = tmpl->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, doc);
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    const RECT rc = {0, 0, 10, 10};
    CIdleCounter beside, inside;
    ASSERT_TRUE(beside.Create("STATIC", "", WS_CHILD | WS_VISIBLE, rc, &host, 10, nullptr));
    ASSERT_TRUE(inside.Create("STATIC", "", WS_CHILD | WS_VISIBLE, rc, view, 11, nullptr));
    host.ShowWindow(SW_SHOWNA);
    CWinThread thread;
    thread.m_pMainWnd = &host;
    thread.OnIdle(0);
    EXPECT_EQ(1, beside.updates);
    EXPECT_EQ(0, inside.updates);
    inside.DestroyWindow();
    beside.DestroyWindow();
}
