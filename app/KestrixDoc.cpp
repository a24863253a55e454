#include "app/KestrixDoc.h"

#include <new>

#include "app/ChordNames.h"
#include "app/DocFile.h"
#include "app/DocState.h"
#include "app/KestrixViews.h"
#include "app/SongFiles.h"
#include "views/ChordLayout.h"

// Host ------------------------------------------------------------------

namespace {

class CNeutralHost : public IDocHost {
public:
    CString GetLangString(int) override { return CString(); }
    int GetSetting(const char*) override { return -1; }
    int GetSoundCard() override { return 0; }
    CString GetInstallFolder() override { return CString(); }
    HWND GetMainWindow() override { return nullptr; }
    CWnd* GetViewParent() override { return nullptr; }
    IDocPanel* GetControlPanel() override { return nullptr; }
    int GetToolsMode() override { return 0; }
    void SetChordOptionsShown(bool) override {}
    void ShowChordDiagram(bool) override {}
    void ActivateView(CView* view) override { CView::SetActiveView(view); }
    void OnDocumentClosed() override {}
    void RefreshPanels() override {}
    void ShowMessage(const CString&, const CString&) override {}
    bool GetViewBarCount() override { return true; }
    void SetToolsPanelText(const CString&) override {}
    void ShowChordName(const CString&) override {}
    void ShowToolWindows(bool, bool) override {}
};

CNeutralHost g_neutralHost;
IDocHost* g_host = nullptr;

constexpr UINT kChordViewId = AFX_IDW_PANE_FIRST;
constexpr UINT kLeadSheetViewId = AFX_IDW_PANE_FIRST + 1;
constexpr UINT kBassViewId = AFX_IDW_PANE_FIRST + 2;
constexpr int kLeadSheet = 0, kChordGrid = 1, kBassTab = 2;

} // namespace

IDocHost* GetDocHost() { return g_host ? g_host : &g_neutralHost; }
void SetDocHost(IDocHost* host) { g_host = host; }

CSize GetScreenSize() { return CSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }

// Document ----------------------------------------------------------------

IMPLEMENT_DYNCREATE(CKestrixDoc, CDocument)

CKestrixDoc::CKestrixDoc()
    : m_displayMode(0), m_currentView(kChordGrid), m_tuning(0.0f), m_pChordView(nullptr), m_pBassView(nullptr),
      m_pLeadSheetView(nullptr), m_rowLength(6000), m_rowsPerPage(7), m_zoom(0.6f), m_leadSheetStale(false),
      m_leadSheetEdited(false), m_chordsPresent(false), m_printing(false), m_pPlayer(nullptr), m_transpose(0), m_scrollX(0), m_scrollY(0),
      m_pageCount(0), m_title(GetDocHost()->GetLangString(1)), m_playback(*this), m_readRefused(false)
{
}

CKestrixDoc::~CKestrixDoc()
{
    delete m_pPlayer;
    m_pPlayer = nullptr;
    DeleteLyricEdits();
    DeleteTempWavFile();
    if (!m_tempWavName.IsEmpty())
        CTempWavNames::Release(m_tempWavName);
    for (CKestrixViewBase* v : {m_pChordView, m_pBassView, m_pLeadSheetView})
        if (v)
            v->SetOwnerDoc(nullptr);
}

BOOL CKestrixDoc::IsModified() { return CDocument::IsModified(); }

void CKestrixDoc::SetModifiedFlag(BOOL bModified) { CDocument::SetModifiedFlag(bModified); }

void CKestrixDoc::OnUserTextEdit(bool inLeadSheet)
{
    if (inLeadSheet)
        m_leadSheetEdited = true;
    // The title is what the user typed into its edit.
    if (m_titleEdit.m_hWnd)
        m_titleEdit.GetWindowText(m_title);
    SetModifiedFlag(TRUE);
}

void CKestrixDoc::DeleteLyricEdits()
{
    for (CKestrixEdit* e : m_lyricEdits) {
        if (e && e->m_hWnd)
            e->DestroyWindow();
        delete e;
    }
    m_lyricEdits.clear();
}

void CKestrixDoc::DeleteTempWavFile()
{
    if (m_tempWavName.IsEmpty())
        return;
    DeleteFileA(GetDocHost()->GetInstallFolder() + m_tempWavName); // a missing file is fine
}

BOOL CKestrixDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    IDocHost* host = GetDocHost();

    delete m_pPlayer;
    m_pPlayer = new CWaveOut(host->GetMainWindow());
    m_pPlayer->SelectDevice(host->GetSoundCard());

    const int rowMs = host->GetSetting("lengthPerRow");
    const int rows = host->GetSetting("rowsPerPage");
    m_rowLength = rowMs < 0 ? 6000 : rowMs;
    m_rowsPerPage = rows < 0 ? 7 : rows;

    // Replace whatever views the framework attached by our three.
    m_bAutoDelete = FALSE;
    CWnd* parent = host->GetViewParent();
    while (!m_viewList.empty()) {
        CView* v = m_viewList.front();
        if (!parent)
            parent = v->GetParent();
        RemoveView(v);
        if (v->m_hWnd)
            v->DestroyWindow();
    }
    DestroyViews();
    const RECT empty = {0, 0, 0, 0};
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER;
    struct {
        const CRuntimeClass* cls;
        UINT id;
        CKestrixViewBase** slot;
    } views[] = {{RUNTIME_CLASS(CKestrixView), kChordViewId, &m_pChordView},
                 {RUNTIME_CLASS(CChordEditView), kLeadSheetViewId, &m_pLeadSheetView},
                 {RUNTIME_CLASS(COstrelView), kBassViewId, &m_pBassView}};
    for (auto& v : views) {
        CObject* o = v.cls->CreateObject();
        auto* view = dynamic_cast<CKestrixViewBase*>(o);
        if (!view) {
            delete o;
            m_bAutoDelete = TRUE;
            return FALSE;
        }
        view->SetOwnerDoc(this);
        if (!view->Create(nullptr, nullptr, style, empty, parent, v.id, nullptr)) {
            m_bAutoDelete = TRUE;
            return FALSE; // the view went with its window
        }
        *v.slot = view;
    }

    const int mode = host->GetSetting("defaultMode");
    m_displayMode = mode < 0 ? 0 : mode;

    m_pLeadSheetView->ShowWindow(SW_HIDE);
    m_pBassView->ShowWindow(SW_HIDE);
    m_pChordView->ShowWindow(SW_SHOW);
    AddView(m_pChordView);
    host->ActivateView(m_pChordView);
    m_bAutoDelete = TRUE;

    // The temporary WAV name: above every one in the folder and every one
    // another open document holds, whose file may not exist yet.
    std::vector<CString> files;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(host->GetInstallFolder() + "*.*", &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do
            files.push_back(fd.cFileName);
        while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    if (!m_tempWavName.IsEmpty())
        CTempWavNames::Release(m_tempWavName);
    m_tempWavName = CTempWavNames::Reserve(files);
    return TRUE;
}

BOOL CKestrixDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    OnNewDocument();
    m_readRefused = false;
    if (!CDocument::OnOpenDocument(lpszPathName) || m_readRefused)
        return FALSE;
    // The song comes back from where it was loaded; the results just read
    // stay, and opening is not an edit.
    ReloadStoredAudio();
    SetModifiedFlag(FALSE);
    if (m_currentView != kChordGrid)
        SwitchTo(m_currentView);
    // Its frame became the active one before the file was read.
    GetDocHost()->RefreshPanels();
    return TRUE;
}

void CKestrixDoc::ReloadStoredAudio()
{
    if (m_audioPath.IsEmpty())
        return;
    IDocHost* host = GetDocHost();
    const bool exists = GetFileAttributesA(m_audioPath) != INVALID_FILE_ATTRIBUTES;
    IDocPanel* panel = host->GetControlPanel();
    const int length = GetTotalLength();
    const bool stale = m_leadSheetStale;
    if (exists && panel && panel->LoadAudioFile(m_audioPath, m_title, 0)) {
        // The song of the document itself: the lyric edits just read stay
        // on its rows, and the stored lead sheet is not to be regenerated.
        m_leadSheetStale = stale;
        return;
    }
    // Without its audio the song keeps its results and has no sound.
    m_playback.SetAudioPresent(false);
    m_playback.SetTotalLength(length);
    RefreshRowTexts();
    host->ShowMessage(host->GetLangString(47) + m_audioPath + host->GetLangString(48), host->GetLangString(122));
}

std::vector<CString> CKestrixDoc::CurrentLyricTexts() const
{
    std::vector<CString> texts;
    for (CKestrixEdit* e : m_lyricEdits) {
        CString text;
        if (e && e->m_hWnd)
            e->GetWindowText(text);
        texts.push_back(text);
    }
    return texts;
}

void CKestrixDoc::SetLyricTexts(const std::vector<CString>& texts)
{
    CWnd* parent = m_pChordView && m_pChordView->m_hWnd ? m_pChordView : nullptr;
    for (size_t i = 0; i < texts.size(); ++i) {
        bool made = false;
        if (i >= m_lyricEdits.size()) {
            if (!parent)
                return;
            auto* e = new CKestrixEdit;
            const RECT empty = {0, 0, 0, 0};
            // Hidden, and an empty line left untold: the view shows the
            // edits its rows have. Each window call is a round trip to the
            // system, thousands of times for a long song.
            e->Create(WS_CHILD | ES_LEFT, empty, parent, static_cast<UINT>(79000 + i));
            m_lyricEdits.push_back(e);
            made = true;
        }
        if (m_lyricEdits[i] && m_lyricEdits[i]->m_hWnd && !(made && texts[i].IsEmpty()))
            m_lyricEdits[i]->SetWindowText(texts[i]);
    }
}

// Files --------------------------------------------------------------------

DocFileBody CKestrixDoc::MakeFileBody()
{
    DocFileBody b;
    b.audioPresent = HasAudio();
    b.currentView = m_currentView;
    b.transpose = m_transpose;
    b.pageCount = m_pageCount;
    b.tuning = m_tuning;
    b.key = m_key;
    b.leadSheetStale = m_leadSheetStale;
    b.audioPath = m_audioPath;
    b.chordsPresent = m_chordsPresent;
    b.lyrics = CurrentLyricTexts();
    {
        CSingleLock lock(&m_resultsLock, TRUE);
        b.chords = m_chords;
        b.bass = m_bassNotes;
        b.pairCodes = m_pitchPairCodes;
        b.pairTimes = m_pitchPairTimes;
        b.setCodes = m_pitchSetCodes;
        b.setTimes = m_pitchSetTimes;
    }
    b.totalLength = GetTotalLength();
    b.title = m_title;
    b.rowTexts = m_rowTexts;
    return b;
}

namespace {
// Appends src to dst; a fresh document's empty list takes it whole.
template <class T>
void Append(std::vector<T>& dst, std::vector<T>& src)
{
    if (dst.empty())
        dst.swap(src);
    else
        dst.insert(dst.end(), src.begin(), src.end());
}
} // namespace

void CKestrixDoc::ApplyFileBody(DocFileBody& b)
{
    m_playback.SetAudioPresent(b.audioPresent);
    m_currentView = b.currentView >= 0 && b.currentView <= 2 ? b.currentView : kChordGrid;
    m_transpose = b.transpose;
    m_pageCount = b.pageCount;
    m_tuning = b.tuning;
    if (b.keyRead)
        m_key = b.key;
    m_leadSheetStale = b.leadSheetStale;
    m_audioPath = b.audioPath;
    m_chordsPresent = b.chordsPresent;
    std::vector<CString> lyrics = CurrentLyricTexts();
    lyrics.insert(lyrics.end(), b.lyrics.begin(), b.lyrics.end());
    SetLyricTexts(lyrics);
    Append(m_chords, b.chords);
    Append(m_bassNotes, b.bass);
    Append(m_pitchPairCodes, b.pairCodes);
    Append(m_pitchPairTimes, b.pairTimes);
    Append(m_pitchSetCodes, b.setCodes);
    Append(m_pitchSetTimes, b.setTimes);
    m_playback.SetTotalLength(b.totalLength);
    m_playback.SetStoredPosition(0);
    m_title = b.title;
    if (m_titleEdit.m_hWnd)
        m_titleEdit.SetWindowText(m_title);
    Append(m_rowTexts, b.rowTexts);
    // A file may hold texts of rows the grid never showed again after the
    // chords changed: the chords decide.
    if (!m_chords.empty())
        RefreshRowTexts();
}

BOOL CKestrixDoc::ReadArchive(CArchive& ar, int layout, bool audioPresent)
{
    // Read whole before anything is taken: a broken file leaves the
    // document as it was.
    DocFileBody body;
    if (!ReadDocBody(ar, layout, audioPresent, body)) {
        IDocHost* host = GetDocHost();
        host->ShowMessage(host->GetLangString(46), host->GetLangString(122));
        return FALSE;
    }
    ApplyFileBody(body);
    return TRUE;
}

void CKestrixDoc::Serialize(CArchive& ar)
{
    auto* sheet = dynamic_cast<CChordEditView*>(m_pLeadSheetView);
    if (ar.IsStoring()) {
        WriteDocFile(ar, MakeFileBody());
        if (sheet && sheet->m_hWnd)
            sheet->SerializeBoxes(ar);
        else
            WriteLeadSheetBoxes(ar, LeadSheetBoxes());
        return;
    }
    try {
        int32_t layout = -1;
        ar >> layout;
        bool audioPresent = false;
        if (layout == 0)
            ar >> audioPresent;
        m_readRefused = !ReadArchive(ar, layout, audioPresent);
        if (!m_readRefused && sheet && sheet->m_hWnd)
            sheet->SerializeBoxes(ar);
    } catch (const std::bad_alloc&) {
        // A document larger than the memory left is refused, not the end
        // of the program.
        m_readRefused = true;
        IDocHost* host = GetDocHost();
        host->ShowMessage(host->GetLangString(kLangDocumentTooLarge), host->GetLangString(122));
    }
}

BOOL CKestrixDoc::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString name;
    if (!ChooseSaveName(lpszPathName, name))
        return FALSE;
    // A name ending in ".rtf" exports the lead sheet; the song itself keeps
    // its own file and stays unsaved.
    if (name.GetLength() >= 4 && name.Right(4).CompareNoCase(".rtf") == 0)
        return ExportLeadSheet(name);
    return CDocument::DoSave(name, bReplace);
}

CString CKestrixDoc::GetExtraSaveFilters()
{
    CString name = GetDocHost()->GetLangString(kLangLeadSheetFilter);
    if (name.IsEmpty())
        name = "Lead sheet (*.rtf)";
    return name + "|*.rtf|";
}

CString CKestrixDoc::GetSaveModifiedName()
{
    return m_audioPath.IsEmpty() || m_title.IsEmpty() ? CDocument::GetSaveModifiedName() : m_title;
}

BOOL CKestrixDoc::ExportLeadSheet(const CString& path)
{
    auto* sheet = dynamic_cast<CChordEditView*>(m_pLeadSheetView);
    const CString rtf = sheet && sheet->m_hWnd ? sheet->ExportRtf() : CString();
    const CString temp = path + ".saving";
    HANDLE h = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = h != INVALID_HANDLE_VALUE && !rtf.IsEmpty() &&
                    WriteFile(h, rtf.GetString(), static_cast<DWORD>(rtf.GetLength()), &written, nullptr) &&
                    written == static_cast<DWORD>(rtf.GetLength());
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    if (!ok || !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp);
        CArchiveException e(CArchiveException::genericException, path);
        ReportSaveLoadException(path, &e, TRUE);
        return FALSE;
    }
    return TRUE;
}

void CKestrixDoc::OnCloseDocument()
{
    IDocHost* host = GetDocHost();
    IDocPanel* panel = host->GetControlPanel();
    // A song closed while it plays stops, and the panel with it.
    if (IsPlaying()) {
        Stop(false);
        if (panel)
            panel->SetPlaying(false);
    }
    if (panel)
        panel->ResetDisplay();
    DeleteTempWavFile();
    // The hidden views are not attached, so the framework's close would
    // leave them behind; the shown one stays attached, so that the
    // framework closes its frame with it.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    DestroyHiddenViews();
    m_bAutoDelete = autoDelete;
    CDocument::OnCloseDocument(); // may delete this
    if (AfxGetDocManager()->GetOpenDocumentCount() == 0)
        host->OnDocumentClosed();
}

void CKestrixDoc::DestroyViews()
{
    for (CKestrixViewBase** slot : {&m_pChordView, &m_pLeadSheetView, &m_pBassView}) {
        CKestrixViewBase* v = *slot;
        *slot = nullptr;
        if (!v)
            continue;
        v->SetOwnerDoc(nullptr);
        if (v->GetDocument() == this)
            RemoveView(v);
        if (v->m_hWnd)
            v->DestroyWindow();
        else
            delete v;
    }
}

void CKestrixDoc::DestroyHiddenViews()
{
    for (CKestrixViewBase** slot : {&m_pChordView, &m_pLeadSheetView, &m_pBassView}) {
        CKestrixViewBase* v = *slot;
        if (!v || v->GetDocument() == this)
            continue;
        *slot = nullptr;
        v->SetOwnerDoc(nullptr);
        if (v->m_hWnd)
            v->DestroyWindow();
        else
            delete v;
    }
}

void CKestrixDoc::OnViewGone(CKestrixViewBase* view)
{
    for (CKestrixViewBase** slot : {&m_pChordView, &m_pLeadSheetView, &m_pBassView})
        if (*slot == view)
            *slot = nullptr;
}

CView* CKestrixDoc::GetChordView() const { return m_pChordView; }
CView* CKestrixDoc::GetBassView() const { return m_pBassView; }
CView* CKestrixDoc::GetLeadSheetView() const { return m_pLeadSheetView; }

bool CKestrixDoc::IsLeadSheetVisible() const { return m_pLeadSheetView && m_pLeadSheetView->IsWindowVisible(); }

void CKestrixDoc::SetTitle(const CString& title)
{
    if (title != m_title)
        SetModifiedFlag(TRUE);
    m_title = title;
    if (m_titleEdit.m_hWnd)
        m_titleEdit.SetWindowText(m_title);
}

float CKestrixDoc::GetZoom()
{
    CSingleLock lock(&m_zoomLock, TRUE);
    return m_zoom;
}

void CKestrixDoc::SetSoundCard(int index)
{
    if (m_pPlayer && index < m_pPlayer->GetDeviceCount())
        m_pPlayer->SelectDevice(index);
}

// Results ---------------------------------------------------------------

void CKestrixDoc::SetChords(std::vector<ChordEntry>& chords)
{
    m_chords = chords;
    chords.clear();
    m_chordsPresent = true;
    m_displayMode = GetDocHost()->GetToolsMode();
    SetModifiedFlag(TRUE); // new results are work the user may want to keep
    RefreshRowTexts();
    UpdateAllViews(nullptr, HINT_CHORDS_CHANGED);
}

void CKestrixDoc::SetBassNotes(std::vector<BassNote>& notes)
{
    m_bassNotes = notes;
    notes.clear();
    m_displayMode = GetDocHost()->GetToolsMode();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr, HINT_BASS_CHANGED);
}

void CKestrixDoc::SetPitchPairs(std::vector<int>& codes, std::vector<int>& times)
{
    m_pitchPairCodes = codes;
    m_pitchPairTimes = times;
    codes.clear();
    times.clear();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr, HINT_PITCH_PAIRS_CHANGED);
}

void CKestrixDoc::SetPitchSets(std::vector<int>& codes, std::vector<int>& times)
{
    m_pitchSetCodes = codes;
    m_pitchSetTimes = times;
    codes.clear();
    times.clear();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr, HINT_PITCH_SETS_CHANGED);
}

void CKestrixDoc::GetChords(std::vector<ChordEntry>& out)
{
    CSingleLock lock(&m_resultsLock, TRUE);
    if (m_chords.empty())
        return;
    RenameChords(m_transpose); // takes the lock again
    out = m_chords;
}

void CKestrixDoc::GetBassNotes(std::vector<BassNote>& out)
{
    CSingleLock lock(&m_resultsLock, TRUE);
    out = m_bassNotes;
}

void CKestrixDoc::GetPitchPairs(std::vector<int>& codes, std::vector<int>& times)
{
    CSingleLock lock(&m_resultsLock, TRUE);
    codes = m_pitchPairCodes;
    times = m_pitchPairTimes;
}

void CKestrixDoc::GetPitchSets(std::vector<int>& codes, std::vector<int>& times)
{
    CSingleLock lock(&m_resultsLock, TRUE);
    codes = m_pitchSetCodes;
    times = m_pitchSetTimes;
}

void CKestrixDoc::ClearResults()
{
    if (!m_chords.empty() || !m_bassNotes.empty() || !m_pitchSetCodes.empty() || !m_pitchPairCodes.empty() ||
        !m_rowTexts.empty())
        SetModifiedFlag(TRUE);
    m_chords.clear();
    m_pitchSetCodes.clear();
    m_pitchSetTimes.clear();
    m_bassNotes.clear();
    m_pitchPairTimes.clear();
    m_pitchPairCodes.clear();
    m_chordsPresent = false;
    DeleteLyricEdits();
    m_rowTexts.clear();
}

void CKestrixDoc::OnAudioLoaded(int lengthMs, bool newSong)
{
    m_playback.SetAudioPresent(true);
    m_playback.SetTotalLength(lengthMs);
    m_playback.SetStoredPosition(0); // a new song starts at its beginning
    m_leadSheetStale = true;
    if (newSong)
        DeleteLyricEdits();
    SetModifiedFlag(TRUE);
    ++m_songSerial;
    RefreshRowTexts();
    UpdateAllViews(nullptr, HINT_AUDIO_LOADED);
}

void CKestrixDoc::ReportNoDevice()
{
    // What start-up said when it found no device.
    IDocHost* host = GetDocHost();
    host->ShowMessage(host->GetLangString(38), host->GetLangString(123));
}

void CKestrixDoc::OnAudioLoadFailed()
{
    if (m_playback.IsPlaying())
        Stop(false);
    m_playback.SetAudioPresent(false);
    m_playback.SetTotalLength(0);
    m_playback.SetStoredPosition(0);
    ++m_songSerial;
    RefreshRowTexts();
    UpdateAllViews(nullptr, HINT_AUDIO_LOADED);
}

void CKestrixDoc::SetLayout(int rowMs, int rowsPerPage)
{
    m_rowLength = rowMs;
    m_rowsPerPage = rowsPerPage;
    RefreshRowTexts();
    UpdateAllViews(nullptr, HINT_LAYOUT_CHANGED);
}

void CKestrixDoc::SetMode(int mode)
{
    m_displayMode = mode;
    UpdateAllViews(nullptr, HINT_MODE_CHANGED);
}

void CKestrixDoc::SetRowText(const CString& text, int row) { SetRowTextIn(m_rowTexts, text, row); }

CString CKestrixDoc::GetRowText(int row) const { return GetRowTextIn(m_rowTexts, row); }

void CKestrixDoc::RefreshRowTexts()
{
    std::vector<ChordEntry> chords;
    GetChords(chords); // named for the transposition
    m_rowTexts.clear();
    const std::vector<CString> texts = ChordRowTexts(chords, GetTotalLength(), m_rowLength);
    for (size_t r = 0; r < texts.size(); ++r)
        if (!texts[r].IsEmpty())
            SetRowTextIn(m_rowTexts, texts[r], static_cast<int>(r));
}

// Names -----------------------------------------------------------------

CString CKestrixDoc::BuildChordName(const ChordEntry& chord, int transposition)
{
    return ::BuildChordName(chord, transposition < -12 ? m_transpose : transposition);
}

void CKestrixDoc::RenameChords(int transposition)
{
    CSingleLock lock(&m_resultsLock, TRUE);
    for (ChordEntry& c : m_chords)
        c.name = BuildChordName(c, transposition);
}

void CKestrixDoc::SetTranspose(int semitones)
{
    if (semitones != m_transpose)
        SetModifiedFlag(TRUE);
    m_transpose = semitones;
    RefreshRowTexts();
    UpdateAllViews(nullptr, HINT_CHORDS_CHANGED);
    UpdateAllViews(nullptr, HINT_BASS_CHANGED);
    GetDocHost()->RefreshPanels();
}

void CKestrixDoc::SetKey(const CString& engineKey)
{
    m_key = ChooseKeyText(engineKey, m_chords);
    GetDocHost()->RefreshPanels();
}

CString CKestrixDoc::GetShownKey() const { return TransposeKeyText(m_key, m_transpose); }

// Playback --------------------------------------------------------------

bool CKestrixDoc::Play(bool loop, bool notifyPanel) { return m_playback.Play(loop, notifyPanel); }

void CKestrixDoc::Stop(bool notifyPanel) { m_playback.Stop(notifyPanel); }

void CKestrixDoc::Seek(int positionMs, bool restart) { m_playback.Seek(positionMs, restart); }

double CKestrixDoc::GetPosition() { return m_playback.GetPosition(); }

void CKestrixDoc::AdjustZoom(float delta)
{
    CSingleLock lock(&m_zoomLock, TRUE);
    if (StepZoom(m_zoom, delta))
        UpdateAllViews(nullptr, HINT_ZOOM_CHANGED);
}

// View switching --------------------------------------------------------

void CKestrixDoc::ShowChordView() { SwitchTo(kChordGrid); }
void CKestrixDoc::ShowBassView() { SwitchTo(kBassTab); }
void CKestrixDoc::ShowLeadSheetView() { SwitchTo(kLeadSheet); }

void CKestrixDoc::SwitchTo(int target)
{
    IDocHost* host = GetDocHost();
    IDocPanel* panel = host->GetControlPanel();
    bool resume = false;
    if (m_playback.IsPlaying()) {
        resume = target != kLeadSheet;
        if (panel)
            panel->OnStop();
        else
            Stop(false);
    }
    if (target == kChordGrid) {
        host->SetChordOptionsShown(true);
        host->ShowChordDiagram(true);
    } else if (target == kBassTab) {
        host->SetChordOptionsShown(false);
    }
    for (CKestrixEdit* e : m_lyricEdits)
        if (e && e->m_hWnd)
            e->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    m_bAutoDelete = FALSE;
    for (CKestrixViewBase* v : {m_pChordView, m_pBassView})
        if (v && v->m_hWnd && v->IsWindowVisible()) {
            const CPoint p = v->GetScrollPosition();
            SetScrollPos(p.x, p.y);
        }
    while (!m_viewList.empty())
        RemoveView(m_viewList.front());

    CKestrixViewBase* shown = target == kChordGrid ? m_pChordView : target == kBassTab ? m_pBassView : m_pLeadSheetView;
    // The shown view is the frame's first pane.
    struct {
        CKestrixViewBase* view;
        UINT chordIds, bassIds, leadIds;
    } ids[] = {{m_pChordView, kChordViewId, kBassViewId, kLeadSheetViewId},
               {m_pLeadSheetView, kLeadSheetViewId, kLeadSheetViewId, kChordViewId},
               {m_pBassView, kBassViewId, kChordViewId, kBassViewId}};
    for (auto& e : ids) {
        if (!e.view || !e.view->m_hWnd)
            continue;
        e.view->SetDlgCtrlID(target == kChordGrid ? e.chordIds : target == kBassTab ? e.bassIds : e.leadIds);
        e.view->ShowWindow(e.view == shown ? SW_SHOW : SW_HIDE);
    }
    if (shown && shown->m_hWnd) {
        AddView(shown);
        host->ActivateView(shown);
        shown->OnInitialUpdate();
        shown->RedrawWindow();
    }
    m_bAutoDelete = TRUE;
    m_currentView = target;
    if (target != kChordGrid)
        host->ShowChordDiagram(false);
    if (resume) {
        if (panel)
            panel->OnPlay();
        else
            Play(m_playback.IsLoopOn(), false);
    }
}
