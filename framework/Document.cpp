#include "framework/DocView.h"

#include <algorithm>

#include "framework/App.h"
#include "framework/Frame.h"

// The command target carries no class record of its own.
IMPLEMENT_DYNAMIC(CDocument, CObject)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {
POSITION ToPos(size_t index) { return reinterpret_cast<POSITION>(index + 1); }
size_t FromPos(POSITION p) { return reinterpret_cast<size_t>(p) - 1; }
} // namespace

CDocument::CDocument() : m_bAutoDelete(TRUE), m_pDocTemplate(nullptr), m_bModified(FALSE) {}

CDocument::~CDocument()
{
    // Views outliving their document must not call back into it.
    for (CView* v : m_viewList)
        v->m_pDocument = nullptr;
    m_viewList.clear();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL)
{
    char full[MAX_PATH];
    char* filePart = nullptr;
    if (lpszPathName && GetFullPathNameA(lpszPathName, MAX_PATH, full, &filePart))
        m_strPathName = full;
    else
        m_strPathName = lpszPathName;
    CString title = m_strPathName;
    const int slash = std::max(title.ReverseFind('\\'), title.ReverseFind('/'));
    if (slash >= 0)
        title = title.Mid(slash + 1);
    SetTitle(title);
}

BOOL CDocument::IsModified() { return m_bModified; }

void CDocument::SetModifiedFlag(BOOL bModified) { m_bModified = bModified; }

void CDocument::AddView(CView* pView)
{
    if (!pView || std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
        return;
    if (pView->m_pDocument && pView->m_pDocument != this)
        pView->m_pDocument->RemoveView(pView);
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const { return m_viewList.empty() ? nullptr : ToPos(0); }

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    const size_t i = FromPos(rPosition);
    CView* v = i < m_viewList.size() ? m_viewList[i] : nullptr;
    rPosition = i + 1 < m_viewList.size() ? ToPos(i + 1) : nullptr;
    return v;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // A view may detach itself or others while it updates: walk a copy and
    // skip the ones that left.
    const std::vector<CView*> views = m_viewList;
    for (CView* v : views) {
        if (v == pSender || std::find(m_viewList.begin(), m_viewList.end(), v) == m_viewList.end())
            continue;
        v->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.empty() && m_bAutoDelete)
        OnCloseDocument();
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
        CArchiveException e(CArchiveException::genericException, lpszPathName);
        ReportSaveLoadException(lpszPathName, &e, FALSE);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE); // dirty while reading
    try {
        CArchive ar(&file, CArchive::load);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        file.Close();
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    // Written beside the target first, so that a failed save keeps the
    // previous file.
    const CString temp = CString(lpszPathName) + ".saving";
    {
        CFile file;
        if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
            CArchiveException e(CArchiveException::genericException, lpszPathName);
            ReportSaveLoadException(lpszPathName, &e, TRUE);
            return FALSE;
        }
        try {
            CArchive ar(&file, CArchive::store);
            ar.m_pDocument = this;
            Serialize(ar);
            ar.Close();
            if (!file.Flush())
                throw new CArchiveException(CArchiveException::genericException, lpszPathName);
        } catch (CException* e) {
            file.Close();
            DeleteFileA(temp);
            ReportSaveLoadException(lpszPathName, e, TRUE);
            e->Delete();
            return FALSE;
        }
    }
    if (!MoveFileExA(temp, lpszPathName, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp);
        CArchiveException e(CArchiveException::genericException, lpszPathName);
        ReportSaveLoadException(lpszPathName, &e, TRUE);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the views must not delete the document half-way.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty()) {
        CView* v = m_viewList.front();
        CWnd* frame = v->GetParent();
        // A frame of the document's own goes with its view; a plain parent
        // (a test window) stays.
        if (frame && m_pDocTemplate &&
            m_pDocTemplate->m_pFrameClass && frame != m_pDocTemplate->GetFrameParent())
            frame->DestroyWindow();
        if (std::find(m_viewList.begin(), m_viewList.end(), v) != m_viewList.end()) {
            if (v->m_hWnd)
                v->DestroyWindow();
            RemoveView(v);
        }
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::DeleteContents() {}

void CDocument::ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving)
{
    char text[512];
    // A reader that threw without the file's name: the message names it
    // all the same, not "the file".
    auto* archive = dynamic_cast<CArchiveException*>(e);
    if (archive && archive->m_strFileName.IsEmpty() && lpszPathName)
        archive->m_strFileName = lpszPathName;
    if (!e || !e->GetErrorMessage(text, sizeof text))
        wsprintfA(text, bSaving ? "Failed to save document %s." : "Failed to open document %s.",
                  lpszPathName ? lpszPathName : "");
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

int CDocument::PromptSaveModified(LPCSTR lpszPrompt)
{
    return AfxMessageBox(lpszPrompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = GetSaveModifiedName();
    if (name.IsEmpty())
        name = "Untitled";
    const CString prompt = CString("Save changes to ") + name + "?";
    switch (PromptSaveModified(prompt)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
    }
}

CString CDocument::GetSaveModifiedName() { return m_strPathName.IsEmpty() ? m_strTitle : m_strPathName; }

BOOL CDocument::CanCloseFrame(CWnd*) { return SaveModified(); }

BOOL CDocument::ChooseSaveName(LPCSTR lpszPathName, CString& name)
{
    name = lpszPathName;
    if (!name.IsEmpty())
        return TRUE;
    name = m_strPathName;
    if (name.IsEmpty()) {
        // Never saved: the name the document goes by, made a valid file name.
        name = GetSaveModifiedName();
        for (int i = 0; i < name.GetLength(); ++i)
            if (strchr("\\/:*?\"<>|", name[i]) || (unsigned char)name[i] < 32)
                name.SetAt(i, '_');
        CString ext;
        // A title may hold dots ("Vol. 2"): only its own extension is kept.
        if (m_pDocTemplate && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty() &&
            (name.GetLength() < ext.GetLength() || name.Right(ext.GetLength()).CompareNoCase(ext) != 0))
            name += ext;
    }
    const CString extra = GetExtraSaveFilters();
    return AfxGetDocManager()->DoPromptFileName(name, "Save As", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, FALSE,
                                                m_pDocTemplate, extra.IsEmpty() ? nullptr : extra.GetString());
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString name;
    if (!ChooseSaveName(lpszPathName, name))
        return FALSE;
    if (!OnSaveDocument(name))
        return FALSE;
    if (bReplace) {
        SetPathName(name);
        // A file just saved is one the user will want again.
        if (CFrameApp* app = AfxGetFrameApp())
            app->AddToRecentFileList(m_strPathName);
    }
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    const DWORD attrs = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(m_strPathName);
    if (m_strPathName.IsEmpty() || (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
