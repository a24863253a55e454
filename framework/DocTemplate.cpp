#include "framework/DocView.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>

#include "framework/App.h"
#include "framework/Dialog.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CObject)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

namespace {
POSITION ToPos(size_t index) { return reinterpret_cast<POSITION>(index + 1); }
size_t FromPos(POSITION p) { return reinterpret_cast<size_t>(p) - 1; }
} // namespace

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass),
      m_pFrameParent(nullptr)
{
    if (nIDResource)
        m_strDocStrings = AfxLoadString(nIDResource);
}

CDocTemplate::~CDocTemplate() {}

void CDocTemplate::SetDocStrings(LPCSTR lpszStrings) { m_strDocStrings = lpszStrings; }

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    int start = 0;
    for (int i = 0; i < index; ++i) {
        const int nl = m_strDocStrings.Find('\n', start);
        if (nl < 0)
            return FALSE;
        start = nl + 1;
    }
    const int end = m_strDocStrings.Find('\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return TRUE;
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* o = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    CDocument* doc = dynamic_cast<CDocument*>(o);
    if (!doc) {
        delete o;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CWnd* pOther)
{
    CCreateContext ctx;
    ctx.m_pCurrentDoc = pDoc;
    ctx.m_pNewViewClass = m_pViewClass;
    ctx.m_pNewDocTemplate = this;
    ctx.m_pLastView = nullptr;
    CWnd* parent = m_pFrameParent;
    RECT rc = {0, 0, 0, 0};
    if (parent && parent->m_hWnd)
        parent->GetClientRect(&rc);
    CWnd* frame = parent;
    if (m_pFrameClass) {
        CObject* o = m_pFrameClass->CreateObject();
        frame = dynamic_cast<CWnd*>(o);
        if (!frame) {
            delete o;
            return nullptr;
        }
        ctx.m_pCurrentFrame = frame;
        if (!frame->Create(nullptr, pDoc->GetTitle(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, parent, 0,
                           &ctx)) {
            delete frame; // a failed creation leaves the object to us
            return nullptr;
        }
        frame->GetClientRect(&rc);
    }
    // A frame that made no view of its own (or no frame at all) gets the
    // template's view as its first pane.
    if (pDoc->GetViewCount() == 0 && m_pViewClass) {
        CObject* o = m_pViewClass->CreateObject();
        CView* view = dynamic_cast<CView*>(o);
        if (!view) {
            delete o;
            if (frame != parent)
                frame->DestroyWindow();
            return nullptr;
        }
        ctx.m_pCurrentFrame = frame;
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rc, frame, AFX_IDW_PANE_FIRST, &ctx)) {
            if (frame != parent)
                frame->DestroyWindow();
            return nullptr; // the view deleted itself with its window
        }
    }
    (void)pOther;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    // Each view of the document runs its initial update once.
    const std::vector<CView*> views(pDoc->m_viewList);
    for (CView* v : views)
        if (std::find(pDoc->m_viewList.begin(), pDoc->m_viewList.end(), v) != pDoc->m_viewList.end())
            v->OnInitialUpdate();
    if (!views.empty())
        CView::SetActiveView(views.front());
    if (pFrame && pFrame != m_pFrameParent && bMakeVisible) {
        pFrame->ShowWindow(SW_SHOW);
        pFrame->UpdateWindow();
    }
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    char full[MAX_PATH];
    if (!GetFullPathNameA(lpszPathName, MAX_PATH, full, nullptr))
        lstrcpynA(full, lpszPathName, MAX_PATH);
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* doc = GetNextDoc(pos);
        if (!doc->GetPathName().IsEmpty() && doc->GetPathName().CompareNoCase(full) == 0) {
            rpDocMatch = doc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty()) {
        const CString path(lpszPathName);
        if (path.GetLength() >= ext.GetLength() && path.Right(ext.GetLength()).CompareNoCase(ext) == 0)
            return yesAttemptNative;
    }
    return yesAttemptForeign;
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos)
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    // Closing removes the document from the list: always take the first.
    for (;;) {
        POSITION pos = GetFirstDocPosition();
        if (!pos)
            break;
        CDocument* doc = GetNextDoc(pos);
        doc->m_bAutoDelete = TRUE;
        doc->OnCloseDocument();
        // A document that stayed (an override that keeps it) still leaves
        // the list, or this would never end.
        pos = GetFirstDocPosition();
        if (pos && GetNextDoc(pos) == doc)
            RemoveDocument(doc);
    }
}

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                     const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_nUntitledCount(0)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    // Documents still open now belong to nobody.
    for (CDocument* d : m_docList)
        CDocTemplate::RemoveDocument(d);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.empty() ? nullptr : ToPos(0); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
    const size_t i = FromPos(rPos);
    CDocument* d = i < m_docList.size() ? m_docList[i] : nullptr;
    rPos = i + 1 < m_docList.size() ? ToPos(i + 1) : nullptr;
    return d;
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    if (std::find(m_docList.begin(), m_docList.end(), pDoc) == m_docList.end())
        m_docList.push_back(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), pDoc), m_docList.end());
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty())
        name = "Untitled";
    CString title;
    title.Format("%s%u", name.GetString(), m_nUntitledCount + 1);
    pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    // No auto-delete while the frame and views come up.
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    bool ok;
    if (!lpszPathName) {
        SetDefaultTitle(doc);
        ok = doc->OnNewDocument() != FALSE;
        if (ok)
            ++m_nUntitledCount;
    } else {
        ok = doc->OnOpenDocument(lpszPathName) != FALSE;
        if (ok)
            doc->SetPathName(lpszPathName);
    }
    if (!ok) {
        // Closing the views (and the frame) deletes the document.
        doc->m_bAutoDelete = TRUE;
        doc->OnCloseDocument();
        if (frame != m_pFrameParent && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        return nullptr;
    }
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}

// Document manager.

namespace {
CDocManager* g_docManager = nullptr;
}

CDocManager* AfxGetDocManager()
{
    if (!g_docManager)
        g_docManager = new CDocManager;
    return g_docManager;
}

void AfxSetDocManager(CDocManager* pManager)
{
    if (g_docManager != pManager)
        delete g_docManager;
    g_docManager = pManager;
}

CDocManager::CDocManager() {}

CDocManager::~CDocManager()
{
    for (CDocTemplate* t : m_templateList)
        delete t;
    if (g_docManager == this)
        g_docManager = nullptr;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate && std::find(m_templateList.begin(), m_templateList.end(), pTemplate) == m_templateList.end())
        m_templateList.push_back(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const
{
    return m_templateList.empty() ? nullptr : ToPos(0);
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    const size_t i = FromPos(pos);
    CDocTemplate* t = i < m_templateList.size() ? m_templateList[i] : nullptr;
    pos = i + 1 < m_templateList.size() ? ToPos(i + 1) : nullptr;
    return t;
}

void CDocManager::OnFileNew()
{
    // One template (the program has one): no choice to offer.
    if (!m_templateList.empty())
        m_templateList.front()->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen()
{
    CString name;
    if (!DoPromptFileName(name, "Open", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    OpenDocumentFile(name);
}

CDocument* CDocManager::OpenDocumentFile(LPCSTR lpszFileName)
{
    if (!lpszFileName || !*lpszFileName || m_templateList.empty())
        return nullptr;
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (CDocTemplate* t : m_templateList) {
        CDocument* match = nullptr;
        const CDocTemplate::Confidence c = t->MatchDocType(lpszFileName, match);
        if (c > bestMatch) {
            bestMatch = c;
            best = t;
            open = match;
        }
    }
    if (bestMatch == CDocTemplate::yesAlreadyOpen && open) {
        POSITION pos = open->GetFirstViewPosition();
        if (pos)
            CView::SetActiveView(open->GetNextView(pos));
        return open;
    }
    return best ? best->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL CDocManager::SaveAllModified()
{
    for (CDocTemplate* t : m_templateList)
        if (!t->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* t : m_templateList)
        t->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount()
{
    int n = 0;
    for (CDocTemplate* t : m_templateList) {
        POSITION pos = t->GetFirstDocPosition();
        while (pos) {
            t->GetNextDoc(pos);
            ++n;
        }
    }
    return n;
}

namespace {

// In a Save As box the name follows the type the user chooses, so that the
// name shown, and the system's question about replacing a file, are of the
// file that will be written (the question named the document the name
// still had, which was left alone).
UINT_PTR CALLBACK NameFollowsTypeHook(HWND hook, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg != WM_NOTIFY)
        return 0;
    const auto* n = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (!n || n->hdr.code != CDN_TYPECHANGE || !n->lpOFN)
        return 0;
    HWND box = ::GetParent(hook);
    char spec[MAX_PATH] = "";
    if (::SendMessageA(box, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(spec)) <= 1)
        return 0;
    const CString named = NameForFilterType(spec, n->lpOFN->lpstrFilter, static_cast<int>(n->lpOFN->nFilterIndex));
    if (named != spec)
        for (int id : {cmb13, edt1}) // the name box of either layout
            ::SendMessageA(box, CDM_SETCONTROLTEXT, id, reinterpret_cast<LPARAM>(named.GetString()));
    return 0;
}

} // namespace

BOOL CDocManager::DoPromptFileName(CString& fileName, LPCSTR lpszTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate, LPCSTR extraFilters)
{
    if (!pTemplate && !m_templateList.empty())
        pTemplate = m_templateList.front();
    // "Name (*.ext)\0*.ext\0All Files (*.*)\0*.*\0\0"
    CString filter, ext, filterName;
    if (pTemplate && pTemplate->GetDocString(filterName, CDocTemplate::filterName) && !filterName.IsEmpty() &&
        pTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty())
        filter = filterName + '|' + "*" + ext + '|';
    if (extraFilters)
        filter += extraFilters;
    filter += "All Files (*.*)|*.*||";
    std::vector<char> f(filter.GetString(), filter.GetString() + filter.GetLength() + 1);
    for (char& c : f)
        if (c == '|')
            c = '\0';
    char buf[MAX_PATH];
    lstrcpynA(buf, fileName, MAX_PATH);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    CWnd* main = AfxGetMainWnd();
    ofn.hwndOwner = main ? main->m_hWnd : nullptr;
    ofn.lpstrFilter = f.data();
    ofn.lpstrFile = buf;
    ofn.nMaxFile = MAX_PATH;
    ofn.nFilterIndex = 1;
    ofn.lpstrTitle = lpszTitle;
    ofn.Flags = lFlags | OFN_ENABLESIZING | OFN_EXPLORER | OFN_PATHMUSTEXIST;
    if (!bOpenFileDialog) {
        ofn.Flags |= OFN_ENABLEHOOK;
        ofn.lpfnHook = &NameFollowsTypeHook;
    }
    CString defExt = ext.GetLength() > 1 ? ext.Mid(1) : CString();
    ofn.lpstrDefExt = defExt.IsEmpty() ? nullptr : defExt.GetString();
    CSystemBoxGuard guard(ofn.hwndOwner);
    for (;;) {
        const BOOL ok = bOpenFileDialog ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
        if (!ok)
            return FALSE;
        fileName = buf;
        if (bOpenFileDialog)
            return TRUE;
        // A type the user chose over the first one decides what is
        // written: the name takes its extension (left at the first, an
        // extension typed decides), also where the box did not change it.
        // A file of the new name is not replaced unasked: the dialog comes
        // again with that name, and its own question.
        if (ofn.nFilterIndex <= 1)
            return TRUE;
        const CString named = NameForFilterType(fileName, f.data(), static_cast<int>(ofn.nFilterIndex));
        if (named == fileName)
            return TRUE;
        fileName = named;
        if (!(lFlags & OFN_OVERWRITEPROMPT) || ::GetFileAttributesA(named) == INVALID_FILE_ATTRIBUTES)
            return TRUE;
        lstrcpynA(buf, named, MAX_PATH);
    }
}

CString NameForFilterType(const CString& name, const char* filters, int chosen)
{
    // The extensions of the filters, in order: "*.ext" patterns only.
    std::vector<CString> exts;
    for (const char* p = filters; *p;) {
        const char* pattern = p + strlen(p) + 1;
        const CString pat(pattern);
        const CString rest = pat.Mid(2);
        exts.push_back(pat.Left(2) == "*." && !rest.IsEmpty() && rest.FindOneOf("*?;") < 0 ? pat.Mid(1) : CString());
        p = *pattern ? pattern + strlen(pattern) + 1 : pattern;
    }
    if (chosen < 1 || chosen > static_cast<int>(exts.size()) || exts[chosen - 1].IsEmpty())
        return name;
    const CString& want = exts[chosen - 1];
    const int slash = name.ReverseFind('\\');
    const int dot = name.ReverseFind('.');
    const CString has = dot > slash ? name.Mid(dot) : CString();
    if (has.CompareNoCase(want) == 0)
        return name;
    // Another offered type's extension is replaced; any other one stays.
    for (const CString& e : exts)
        if (!e.IsEmpty() && has.CompareNoCase(e) == 0)
            return name.Left(dot) + want;
    return name + want;
}
