#pragma once
// The skinned, borderless transport panel: open, analyse, transpose, play,
// stop, skip, loop, the time and volume knobs. It binds the conversion
// library, receives every message of both libraries and passes them on to
// its progress dialog, and acts on the active document only through the
// document's playback operations.
#include <vector>

#include "app/AnalysisRunner.h"
#include "app/DocHost.h"
#include "app/PanelZones.h"
#include "app/ProgressDlg.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CKestrixDoc;
class CWaveOut;
enum class WaveLoadFailure;
class CSoundLibraryLoader;
#include "shared/ISoundLibrary.h"

constexpr UINT TIMER_PANEL_CLOCK = 88;

class CControlDlg : public CDialog, public IDocPanel, public IProgressOwner {
public:
    enum { IDD = IDD_CONTROL_PANEL };

    // Creates the window from its template (modeless, owned by pParent).
    explicit CControlDlg(CWnd* pParent);
    ~CControlDlg() override;

    // Commands.
    void OnPlay() override;
    void OnStop() override;
    void OnBack();
    void OnForward();
    void OnLoopToggle();
    void OnTranspose();
    void OnOpenAudio();
    // The road of a chosen song (question 52, conversion, load), also for
    // songs given to File > Open, dropped or named on the command line.
    bool OpenSong(const CString& path);
    // ".wav" or one of the library's extensions, in any case.
    bool IsSongPath(const CString& path) const;
    // False, after saying so, when the name lost letters to the ANSI code page.
    bool CheckUsableName(const CString& path);
    // Into the active document.
    bool LoadAudioFile(const CString& path, const CString& title, int fresh) override;
    void OnAnalyze();
    void CancelAnalysis() override;
    void ResetCancelEvent() override;
    void ClearResults();

    // For the document and the views.
    void SetPlaying(bool playing) override;
    void SetLoopState(bool on) override;
    void ResetDisplay() override;
    // The active document (null: none) is shown: its song, play and loop
    // state, volume and position.
    void ShowDocument(CKestrixDoc* doc);
    void UpdateTimeText(bool repaint) override;
    int GetSkipMs() const override { return m_skipMs; }

    // State, for the frames and for tests.
    bool IsSongLoaded() const { return m_songLoaded; }
    bool IsPlayingShown() const { return m_playing; }
    bool IsLoopShown() const { return m_loop; }
    const CString& GetTimeText() const { return m_timeText; }
    const PanelGeometry& GetGeometry() const { return m_geometry; }
    CProgressDlg* GetProgressDlg() const { return m_pProgress; }
    const CString& GetInstallFolder() const { return m_installFolder; }
    // False when a skin bitmap or the conversion library failed: the user
    // was told and the program is ending.
    bool IsReady() const { return m_ready; }
    // The library's extensions (".cda", ".mp3", ...); empty when none.
    std::vector<CString> GetExtensions() const;

    void UpdateTimeKnob();
    void ApplyVolumeFromKnob();
    void SeekFromKnob();
    // Places the volume knob for a player level 0..0xFFFF.
    void PlaceVolumeKnob(DWORD level);

    // The height of the caption font in which text fits a zone this wide.
    static constexpr int kCaptionFontHeight = 13;
    static int CaptionFontHeight(CDC& dc, const CString& text, int zoneWidth);
    static void CreateCaptionFont(CFont& font, int height);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
    // Lights the zone under the point and puts out the others.
    void UpdateHover(CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnAnalysisProgress(WPARAM code, LPARAM value);
    afx_msg LRESULT OnAnalysisNoEngine(WPARAM code, LPARAM value);
    afx_msg LRESULT OnCdRipStatus(WPARAM code, LPARAM value);
    afx_msg LRESULT OnDecodeStatus(WPARAM code, LPARAM value);
    afx_msg LRESULT OnDecodeResult(WPARAM code, LPARAM value);
    afx_msg LRESULT OnSongReadStatus(WPARAM code, LPARAM value);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CKestrixDoc* ActiveDoc();
    // Loads installation folder + name; false (after its message) when the
    // program cannot go on.
    bool LoadSkinBitmap(const char* name, CBitmap& bitmap);
    bool LoadBackgroundBitmap(const char* name, CBitmap& bitmap);
    bool LoadSkin(const char* name, CBitmap& bitmap, bool withPalette);
    void DrawKnob(CDC& source, CDC& target, int left, int top, int width, int height, bool transparent);
    void InvalidateZone(const PanelRect& r);
    void MoveVolumeKnob(int y);
    void MoveTimeKnob(int x);
    void SkipBy(int deltaMs);
    void Forward(UINT message, WPARAM code, LPARAM value);
    // A number for the next conversion, song read or analysis; its
    // messages carry it, and its progress dialog follows only those.
    unsigned int NextRun();
    INT_PTR RunProgress(unsigned int run);
    void Message(int text);
    // The road of every song into a document: converted when it is no WAV
    // the player takes, then read into the document's player.
    bool LoadSong(CKestrixDoc* doc, const CString& path, const CString& title, int fresh);
    // The conversion under the progress dialog; false when it failed (the
    // dialog has said so).
    bool ConvertSong(const CString& source, const CString& target);
    // Reads the WAV file into the player, a long one under the progress
    // dialog; why it failed, or None.
    WaveLoadFailure ReadSong(CWaveOut* player, const CString& file);
    // A song the player could not take: said; false. The document is left
    // without audio when its player lost the song it held.
    bool OnLoadFailed(CKestrixDoc* doc, CWaveOut* player, WaveLoadFailure failure, bool converted);

    bool m_firstPaint;
    bool m_songLoaded;
    int m_volumeCentre;
    int m_timeCentre;
    CFont m_timeFont;
    CFont m_captionFont;
    bool m_playing;
    bool m_loop;
    int m_skipMs;
    CProgressDlg* m_pProgress;
    CBitmap m_face, m_litFace, m_volumeKnob, m_timeKnob;
    CSize m_faceSize, m_volumeSize, m_timeSize;
    PanelGeometry m_geometry;
    PanelRect m_timeKnobRect, m_volumeKnobRect;
    CString m_timeText;
    bool m_hoverStop, m_hoverAnalyze, m_hoverOpen, m_hoverTranspose, m_hoverForward, m_hoverBack, m_hoverPlay;
    bool m_volumeDrag, m_timeDrag;
    int m_moveCount;
    CPalette m_palette;
    CPoint m_clickPoint;
    HANDLE m_cancelEvent;
    CAnalysisRunner m_runner;
    CKestrixDoc* m_analysedDoc;
    SoundExtensionList* m_extensions;
    CSoundLibraryLoader* m_pSoundLoader;
    CString m_installFolder;
    bool m_busy; // a conversion or analysis runs under the progress dialog
    // The last conversion progress passed to the dialog (message 0: none).
    UINT m_progressMessage;
    LPARAM m_progressValue;
    unsigned int m_run; // the last run's number
    bool m_ready = false;
};
