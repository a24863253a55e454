#pragma once
// The document of one song: its audio and temporary WAV file, the analysis
// results, the playback state and the layout its three views share.
#include <vector>

#include "app/DocHost.h"
#include "app/DocTypes.h"
#include "app/PlaybackControl.h"
#include "app/WaveOut.h"
#include "framework/DocView.h"
#include "framework/Sync.h"
#include "views/KestrixEdit.h"

class CKestrixView;
class CChordEditView;
class COstrelView;
class CKestrixViewBase;

class CKestrixDoc : public CDocument, private IPlaybackOwner {
    DECLARE_DYNCREATE(CKestrixDoc)
public:
    CKestrixDoc();
    ~CKestrixDoc() override;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    void OnCloseDocument() override;
    BOOL IsModified() override;
    void Serialize(CArchive& ar) override;
    // Reads the body of a stored layout (0, 18 or 20) into this fresh
    // document; any other layout is reported and reads nothing.
    BOOL ReadArchive(CArchive& ar, int layout, bool audioPresent);
    BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE) override;
    // The lead sheet as one RTF document; the song's own path and modified
    // flag stay as they are.
    BOOL ExportLeadSheet(const CString& path);
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    // "Save changes to ...?" names the song once there is one.
    CString GetSaveModifiedName() override;
    CString GetExtraSaveFilters() override;

    // Accessors.
    std::vector<CKestrixEdit*>& GetLyricEdits() { return m_lyricEdits; }
    CKestrixEdit& GetTitleEdit() { return m_titleEdit; }
    CString GetTitle() const { return m_title; }
    void SetTitle(const CString& title);
    CString GetAudioPath() const { return m_audioPath; }
    void SetAudioPath(const CString& path) { m_audioPath = path; }
    CString GetTempWavName() const { return m_tempWavName; }
    int GetTotalLength() const { return m_playback.GetTotalLength(); }
    int GetScrollX() const { return m_scrollX; }
    int GetScrollY() const { return m_scrollY; }
    void SetScrollPos(int x, int y) { m_scrollX = x; m_scrollY = y; }
    int GetRowLength() const { return m_rowLength; }
    int GetRowsPerPage() const { return m_rowsPerPage; }
    float GetZoom();
    bool IsLoopOn() const { return m_playback.IsLoopOn(); }
    // Counts the songs loaded (and failed loads): a view hidden while the
    // song changed learns of it when it is shown again.
    int GetSongSerial() const { return m_songSerial; }
    void SetLoop(bool on) { m_playback.SetLoop(on); }
    bool IsPlaying() const { return m_playback.IsPlaying(); }
    int GetTranspose() const { return m_transpose; }
    bool HasAudio() const { return m_playback.HasAudio(); }
    bool HasChords() const { return m_chordsPresent; }
    bool IsLeadSheetStale() const { return m_leadSheetStale; }
    void SetLeadSheetStale(bool on) { m_leadSheetStale = on; }
    // A change the user typed, pasted or formatted in a text of the song (a
    // lyric line, the title, the lead sheet): the song is modified. Changes
    // in the lead sheet since it was generated make a rebuild ask first.
    void OnUserTextEdit(bool inLeadSheet);
    bool HasLeadSheetEdits() const { return m_leadSheetEdited; }
    void SetLeadSheetEdited(bool on) { m_leadSheetEdited = on; }
    bool IsPrinting() const { return m_printing; }
    void SetPrinting(bool on) { m_printing = on; }
    int GetPageCount() const { return m_pageCount; }
    void SetPageCount(int n) { m_pageCount = n; }
    int GetCurrentView() const { return m_currentView; }
    float GetTuning() const { return m_tuning; }
    void SetTuning(float hz) { m_tuning = hz; }
    CString GetKey() const { return m_key; }
    // The key as the chords are shown: transposed with them.
    CString GetShownKey() const;
    CWaveOut* GetPlayer() const { return m_pPlayer; }
    void SetSoundCard(int index);
    int GetMode() const { return m_displayMode; }
    bool IsLeadSheetVisible() const;

    // Results. The setters take the caller's lists and leave them empty.
    void SetChords(std::vector<ChordEntry>& chords);
    void SetBassNotes(std::vector<BassNote>& notes);
    void SetPitchPairs(std::vector<int>& codes, std::vector<int>& times);
    void SetPitchSets(std::vector<int>& codes, std::vector<int>& times);
    // Copies under the results lock; chord names are rebuilt first. An
    // empty chord list leaves out as it was.
    void GetChords(std::vector<ChordEntry>& out);
    void GetBassNotes(std::vector<BassNote>& out);
    void GetPitchPairs(std::vector<int>& codes, std::vector<int>& times);
    void GetPitchSets(std::vector<int>& codes, std::vector<int>& times);
    void ClearResults();
    // newSong: the edits of the old song's lyrics go; the document's own
    // song loaded again keeps them.
    void OnAudioLoaded(int lengthMs, bool newSong = true);
    // A load failed: the player holds nothing now, so neither does the
    // document (no audio, length 0, stopped at 0).
    void OnAudioLoadFailed();
    void SetLayout(int rowMs, int rowsPerPage);
    void SetMode(int mode);
    void SetRowText(const CString& text, int row);
    CString GetRowText(int row) const;
    int GetRowTextCount() const { return static_cast<int>(m_rowTexts.size()); }
    void ClearRowTexts() { m_rowTexts.clear(); }

    // Names and transposition. A transposition below -12 means the
    // document's own.
    CString BuildChordName(const ChordEntry& chord, int transposition);
    void RenameChords(int transposition);
    void SetTranspose(int semitones);
    void SetKey(const CString& engineKey);

    // Playback, always through the document.
    bool Play(bool loop, bool notifyPanel);
    void Stop(bool notifyPanel);
    void Seek(int positionMs, bool restart);
    double GetPosition();
    void AdjustZoom(float delta);

    // View switching; only the shown view is attached.
    void ShowChordView();
    void ShowBassView();
    void ShowLeadSheetView();
    CView* GetChordView() const;
    CView* GetBassView() const;
    CView* GetLeadSheetView() const;

    // A view window went away (its frame destroyed it).
    void OnViewGone(CKestrixViewBase* view);

private:
    IPlaybackDevice* GetDevice() override { return m_pPlayer; }
    IPlaybackPanel* GetPanel() override
    {
        IDocHost* host = GetDocHost();
        return host->IsActiveDocument(this) ? host->GetControlPanel() : nullptr;
    }
    void SendHint(int hint) override { UpdateAllViews(nullptr, hint); }
    void ReportNoDevice() override;

    void DeleteLyricEdits();
    // The row texts from the chords, the song's length and the row length,
    // so that the lead sheet reads current ones whatever view is shown.
    void RefreshRowTexts();
    struct DocFileBody MakeFileBody();
    // Takes the lists read (the body is left with what was not taken).
    void ApplyFileBody(struct DocFileBody& body);
    void SetLyricTexts(const std::vector<CString>& texts);
    std::vector<CString> CurrentLyricTexts() const;
    void ReloadStoredAudio();
    void DeleteTempWavFile();
    void SwitchTo(int target);
    void DestroyViews();
    void DestroyHiddenViews();

    int m_displayMode;
    CKestrixEdit m_titleEdit;
    int m_currentView;
    std::vector<CString> m_rowTexts;
    CString m_tempWavName;
    float m_tuning;
    CString m_key;
    CKestrixViewBase* m_pChordView;
    CKestrixViewBase* m_pBassView;
    CKestrixViewBase* m_pLeadSheetView;
    std::vector<CKestrixEdit*> m_lyricEdits;
    CString m_audioPath;
    int m_rowLength;
    int m_rowsPerPage;
    float m_zoom;
    CCriticalSection m_zoomLock;
    bool m_leadSheetStale;
    int m_songSerial = 0;
    bool m_leadSheetEdited; // the boxes hold the user's changes
    bool m_chordsPresent;
    bool m_printing;
    CCriticalSection m_resultsLock;
    CWaveOut* m_pPlayer;
    std::vector<int> m_pitchPairCodes, m_pitchPairTimes;
    std::vector<int> m_pitchSetCodes, m_pitchSetTimes;
    std::vector<ChordEntry> m_chords;
    std::vector<BassNote> m_bassNotes;
    int m_transpose;
    int m_scrollX, m_scrollY;
    int m_pageCount;
    CString m_title;
    CPlaybackControl m_playback; // playing, loop, audio present, lengths, stored position
    bool m_readRefused;          // the file's layout was not one this program reads
};

// Width and height of the primary screen in pixels.
CSize GetScreenSize();
