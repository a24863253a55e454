#include "app/ControlDlg.h"

#include <commdlg.h>

#include <algorithm>

#include "app/InstallFolderWin.h"
#include "app/KestrixApp.h"
#include "app/KestrixDoc.h"
#include "app/LangText.h"
#include "app/LibraryLoaders.h"
#include "app/MessageBoxDemo.h"
#include "app/ProgressCodes.h"
#include "app/SkinBitmapWin.h"
#include "app/SmallDialogRules.h"
#include "app/SmallDialogs.h"
#include "app/SongFiles.h"
#include "app/TransportMath.h"
#include "framework/App.h"
#include "shared/Messages.h"

BEGIN_MESSAGE_MAP(CControlDlg, CDialog)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_TIMER()
ON_WM_KEYUP()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_ANALYSIS_PROGRESS, OnAnalysisProgress)
ON_MESSAGE(WM_ANALYSIS_NO_ENGINE, OnAnalysisNoEngine)
ON_MESSAGE(WM_CD_RIP_STATUS, OnCdRipStatus)
ON_MESSAGE(WM_DECODE_STATUS, OnDecodeStatus)
ON_MESSAGE(WM_DECODE_RESULT, OnDecodeResult)
ON_MESSAGE(WM_SONG_READ_STATUS, OnSongReadStatus)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

const int kSkipMs = 2000;
const int kLowSampleRate = 25000;

// A short song is read before anybody would notice: the progress dialog
// comes up only for one still being read after this long.
const DWORD kQuickReadMs = 250;

// The system hands the program a file's name in the ANSI code page, with
// letters the code page lacks made into look-alikes (an L with stroke comes
// as a plain L) or '?'. Such a name names no file: true when an entry of the
// folder where the path stops existing turns into that very name.
bool NameLostLetters(const CString& path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    for (int end = 1; end <= path.GetLength(); ++end) {
        if (end < path.GetLength() && path[end] != '\\' && path[end] != '/')
            continue;
        const CString part = path.Left(end);
        if (part.Right(1) == ":" || GetFileAttributesA(part) != INVALID_FILE_ATTRIBUTES)
            continue;
        const int slash = std::max(part.ReverseFind('\\'), part.ReverseFind('/'));
        const CString folder = part.Left(slash + 1), name = part.Mid(slash + 1);
        wchar_t pattern[MAX_PATH];
        const int n = MultiByteToWideChar(CP_ACP, 0, folder, -1, pattern, MAX_PATH - 2);
        if (n <= 0 || name.IsEmpty())
            return false;
        lstrcatW(pattern, L"*");
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(pattern, &found);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        bool lost = false;
        do {
            char ansi[MAX_PATH * 2];
            if (WideCharToMultiByte(CP_ACP, 0, found.cFileName, -1, ansi, sizeof ansi, nullptr, nullptr) > 0)
                lost = lstrcmpiA(ansi, name) == 0;
        } while (!lost && FindNextFileW(h, &found));
        FindClose(h);
        return lost;
    }
    return false;
}

PanelRect FromSpan(const KnobSpan& s, int fixedLo, int fixedHi, bool horizontal)
{
    return horizontal ? PanelRect{s.lo, fixedLo, s.hi, fixedHi} : PanelRect{fixedLo, s.lo, fixedHi, s.hi};
}

RECT ToRect(const PanelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

} // namespace

CControlDlg::CControlDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_firstPaint(false), m_songLoaded(false), m_volumeCentre(0), m_timeCentre(0),
      m_playing(false), m_loop(false), m_skipMs(kSkipMs), m_pProgress(nullptr), m_faceSize(0, 0),
      m_volumeSize(0, 0), m_timeSize(0, 0), m_geometry(MakePanelGeometry(0, 0, 0, 0)), m_timeKnobRect(),
      m_volumeKnobRect(), m_timeText("00:00:0"), m_hoverStop(false), m_hoverAnalyze(false), m_hoverOpen(false),
      m_hoverTranspose(false), m_hoverForward(false), m_hoverBack(false), m_hoverPlay(false), m_volumeDrag(false),
      m_timeDrag(false), m_moveCount(0), m_clickPoint(0, 0), m_cancelEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_analysedDoc(nullptr), m_extensions(nullptr), m_pSoundLoader(nullptr), m_busy(false),
      m_progressMessage(0), m_progressValue(0), m_run(0)
{
    Create(IDD, pParent);
}

CControlDlg::~CControlDlg()
{
    if (m_hWnd)
        DestroyWindow();
    delete m_pSoundLoader;
    m_pSoundLoader = nullptr;
    delete m_pProgress;
    m_pProgress = nullptr;
    if (m_cancelEvent)
        CloseHandle(m_cancelEvent);
}

void CControlDlg::OnDestroy()
{
    AfxHoldWhileModal(m_hWnd, false);
    CDialog::OnDestroy();
}

void CControlDlg::PostNcDestroy()
{
    // The frame deletes the object; the window's resources go with the window.
    delete m_pSoundLoader;
    m_pSoundLoader = nullptr;
    m_extensions = nullptr;
    delete m_pProgress;
    m_pProgress = nullptr;
    m_runner.Finish();
    m_face.DeleteObject();
    m_litFace.DeleteObject();
    m_volumeKnob.DeleteObject();
    m_timeKnob.DeleteObject();
    m_palette.DeleteObject();
    m_timeFont.DeleteObject();
    m_captionFont.DeleteObject();
}

CKestrixDoc* CControlDlg::ActiveDoc()
{
    CKestrixApp* app = GetKestrixApp();
    return app ? app->GetActiveDoc() : nullptr;
}

BOOL CControlDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_installFolder = AppInstallFolder().GetRaw();
    if (m_installFolder.IsEmpty()) {
        Message(40);
        char dir[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, dir);
        m_installFolder = dir;
    }
    if (m_installFolder.IsEmpty() || (m_installFolder.Right(1) != "\\" && m_installFolder.Right(1) != "/"))
        m_installFolder += "\\";

    m_pProgress = new CProgressDlg(this, this);
    // Open, Analyze and Play act on documents: not while a box asks something.
    AfxHoldWhileModal(m_hWnd, true);

    if (!LoadBackgroundBitmap("mainBmp.bmp", m_face) || !LoadSkinBitmap("mainLightBmp.bmp", m_litFace)) {
        PostQuitMessage(0);
        return FALSE;
    }
    BITMAP bm;
    m_face.GetBitmap(&bm);
    m_faceSize = CSize(bm.bmWidth, bm.bmHeight);

    ShowWindow(SW_SHOW);
    CRect own;
    GetWindowRect(&own);
    CRect frame(0, 0, 0, 0);
    if (CWnd* parent = GetParent())
        parent->GetWindowRect(&frame);
    SetWindowPos(nullptr, frame.right - own.Width(), frame.bottom - own.Height(), m_faceSize.cx, m_faceSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(CreateRectRgn(0, 0, m_faceSize.cx, m_faceSize.cy), TRUE);

    if (!LoadSkinBitmap("volumeBmp.bmp", m_volumeKnob) || !LoadSkinBitmap("timeSlideBmp.bmp", m_timeKnob)) {
        PostQuitMessage(0);
        return FALSE;
    }
    m_volumeKnob.GetBitmap(&bm);
    m_volumeSize = CSize(bm.bmWidth, bm.bmHeight);
    m_timeKnob.GetBitmap(&bm);
    m_timeSize = CSize(bm.bmWidth, bm.bmHeight);
    m_geometry = MakePanelGeometry(m_timeSize.cx, m_timeSize.cy, m_volumeSize.cx, m_volumeSize.cy);
    m_timeKnobRect = m_geometry.timeKnob;
    m_volumeKnobRect = m_geometry.volumeKnob;
    m_timeCentre = (m_timeKnobRect.left + m_timeKnobRect.right) / 2;
    m_volumeCentre = (m_volumeKnobRect.top + m_volumeKnobRect.bottom) / 2;

    m_pSoundLoader = new CSoundLibraryLoader(m_hWnd, m_installFolder + "QuorvaSound.dll");
    if (!m_pSoundLoader->IsLoaded()) {
        Message(50);
        PostQuitMessage(0);
        return FALSE;
    }
    m_extensions = m_pSoundLoader->GetFileExtensions();

    m_timeFont.CreateFont(16, 0, 0, 0, 700, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, VARIABLE_PITCH, "Verdana");
    CreateCaptionFont(m_captionFont, kCaptionFontHeight);
    Invalidate();
    m_ready = true;
    return TRUE;
}

std::vector<CString> CControlDlg::GetExtensions() const
{
    std::vector<CString> out;
    if (m_extensions)
        for (const CString* e : *m_extensions)
            if (e)
                out.push_back(*e);
    return out;
}

bool CControlDlg::LoadSkin(const char* name, CBitmap& bitmap, bool withPalette)
{
    return LoadSkinBitmapReported(m_installFolder + name, bitmap, m_palette, withPalette);
}

bool CControlDlg::LoadBackgroundBitmap(const char* name, CBitmap& bitmap) { return LoadSkin(name, bitmap, true); }
bool CControlDlg::LoadSkinBitmap(const char* name, CBitmap& bitmap) { return LoadSkin(name, bitmap, false); }

BOOL CControlDlg::OnCmdMsg(UINT, int, void*, AFX_CMDHANDLERINFO*)
{
    // Enter, Escape and routed commands must never close the panel.
    return TRUE;
}

BOOL CControlDlg::PreTranslateMessage(MSG* pMsg)
{
    // None of the main window's shortcuts is a key the panel uses.
    return TranslateMainWindowShortcut(this, pMsg) || CDialog::PreTranslateMessage(pMsg);
}

// --- Painting ---

void CControlDlg::DrawKnob(CDC& source, CDC& target, int left, int top, int width, int height, bool transparent)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = source.GetPixel(x, y);
            if (transparent && (c & 0xFFFFFF) == 0xFFFFFF)
                continue;
            target.SetPixel(left + x, top + y, c);
        }
}

void CControlDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_firstPaint && !ActiveDoc())
        m_songLoaded = false;
    m_firstPaint = false;
    if (!m_face.GetSafeHandle())
        return;

    const int w = m_faceSize.cx, h = m_faceSize.cy;
    CPalette* oldPalette = nullptr;
    if (m_palette.GetSafeHandle()) {
        oldPalette = dc.SelectPalette(&m_palette, FALSE);
        dc.RealizePalette();
    }
    CDC canvas, source;
    canvas.CreateCompatibleDC(&dc);
    source.CreateCompatibleDC(&dc);
    CBitmap image;
    image.CreateCompatibleBitmap(&dc, w, h);
    CBitmap* oldCanvas = canvas.SelectObject(&image);
    CBitmap* oldSource = source.SelectObject(&m_face);
    canvas.BitBlt(0, 0, w, h, &source, 0, 0, SRCCOPY);

    source.SelectObject(&m_litFace);
    auto lit = [&](const PanelRect& r) {
        canvas.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &source, r.left, r.top, SRCCOPY);
    };
    const PanelGeometry& g = m_geometry;
    if (m_songLoaded) {
        if (m_playing || m_hoverPlay)
            lit(g.play);
        if (m_hoverStop && m_playing)
            lit(g.stop);
        if (m_hoverForward)
            lit(g.forward);
        if (m_hoverBack)
            lit(g.back);
        if (m_loop)
            lit(g.loop);
    }
    if (m_hoverAnalyze)
        lit(g.analyze);
    if (m_hoverOpen)
        lit(g.open);
    if (m_hoverTranspose)
        lit(g.transpose);

    if (m_volumeKnob.GetSafeHandle()) {
        source.SelectObject(&m_volumeKnob);
        DrawKnob(source, canvas, m_volumeKnobRect.left, m_volumeKnobRect.top, m_volumeSize.cx, m_volumeSize.cy, true);
    }
    if (m_timeKnob.GetSafeHandle()) {
        source.SelectObject(&m_timeKnob);
        DrawKnob(source, canvas, m_timeKnobRect.left, m_timeKnobRect.top, m_timeSize.cx, m_timeSize.cy, true);
    }

    CFont* oldFont = canvas.SelectObject(&m_timeFont);
    canvas.SetTextColor(RGB(255, 255, 255));
    canvas.SetBkColor(RGB(0, 0, 0));
    canvas.SetBkMode(OPAQUE);
    RECT r = ToRect(g.timeText);
    canvas.DrawText(m_timeText, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas.SelectObject(&m_captionFont);
    canvas.SetTextColor(RGB(0, 0, 0));
    canvas.SetBkMode(TRANSPARENT);
    const struct {
        int text;
        const PanelRect& zone;
        int down;
    } captions[] = {{116, g.open, 4}, {118, g.analyze, 3}, {117, g.transpose, 2}};
    for (const auto& c : captions) {
        RECT cr = ToRect(c.zone);
        OffsetRect(&cr, 0, c.down);
        const CString text = LangText(c.text);
        const int height = CaptionFontHeight(canvas, text, cr.right - cr.left);
        CFont smaller;
        if (height != kCaptionFontHeight) {
            CreateCaptionFont(smaller, height);
            canvas.SelectObject(&smaller);
        }
        canvas.DrawText(text, &cr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        canvas.SelectObject(&m_captionFont);
    }
    canvas.SelectObject(oldFont);

    dc.BitBlt(0, 0, w, h, &canvas, 0, 0, SRCCOPY);
    source.SelectObject(oldSource);
    canvas.SelectObject(oldCanvas);
    if (oldPalette)
        dc.SelectPalette(oldPalette, FALSE);
}

BOOL CControlDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CControlDlg::InvalidateZone(const PanelRect& r)
{
    RECT rc = ToRect(r);
    InvalidateRect(&rc, FALSE);
}

// --- Mouse ---

void CControlDlg::MoveVolumeKnob(int y)
{
    KnobSpan s = ::PlaceVolumeKnob(y, m_geometry.volumeTop, m_geometry.volumeBottom, m_volumeSize.cy);
    m_volumeKnobRect = FromSpan(s, m_geometry.volumeTrack.left, m_geometry.volumeTrack.left + m_volumeSize.cx, false);
    m_volumeCentre = s.centre;
    InvalidateZone(m_geometry.volumeTrack);
}

void CControlDlg::MoveTimeKnob(int x)
{
    KnobSpan s = PlaceTimeKnob(x, m_geometry.timeLeft, m_geometry.timeRight, m_timeSize.cx);
    m_timeKnobRect = FromSpan(s, m_geometry.timeTrack.top, m_geometry.timeTrack.top + m_timeSize.cy, true);
    m_timeCentre = s.centre;
    InvalidateZone(m_geometry.timeTrack);
}

void CControlDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (nFlags == MK_LBUTTON) {
        // A press that wobbles a little is not yet a drag.
        if (++m_moveCount <= 4)
            return;
        const bool onVolume = m_volumeKnobRect.Contains(point.x, point.y);
        const bool onTime = m_timeKnobRect.Contains(point.x, point.y);
        if ((onVolume || m_volumeDrag) && m_songLoaded) {
            MoveVolumeKnob(point.y);
            ApplyVolumeFromKnob();
            m_volumeDrag = true;
        } else if ((onTime || m_timeDrag) && m_songLoaded) {
            MoveTimeKnob(point.x);
            SeekFromKnob();
            UpdateTimeText(false);
            InvalidateZone(m_geometry.timeText);
            m_timeDrag = true;
        } else if (!m_geometry.timeTrack.Contains(point.x, point.y) &&
                   !m_geometry.volumeTrack.Contains(point.x, point.y)) {
            CRect w;
            GetWindowRect(&w);
            SetWindowPos(nullptr, w.left + point.x - m_clickPoint.x, w.top + point.y - m_clickPoint.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SetCapture();
        return;
    }
    m_moveCount = 0;
    UpdateHover(point);
}

LRESULT CControlDlg::OnMouseLeave(WPARAM, LPARAM)
{
    // A lit zone goes out when the mouse leaves the panel from it (Play
    // stays lit only while playing).
    UpdateHover(CPoint(-1, -1));
    return 0;
}

void CControlDlg::UpdateHover(CPoint point)
{
    const PanelGeometry& g = m_geometry;
    auto hover = [&](bool& flag, const PanelRect& r, bool track) {
        bool now = r.Contains(point.x, point.y);
        if (now != flag) {
            flag = now;
            if (track)
                InvalidateZone(r);
        }
    };
    hover(m_hoverPlay, g.play, !m_playing);
    hover(m_hoverForward, g.forward, true);
    hover(m_hoverBack, g.back, true);
    hover(m_hoverOpen, g.open, true);
    hover(m_hoverStop, g.stop, true);
    hover(m_hoverAnalyze, g.analyze, true);
    hover(m_hoverTranspose, g.transpose, true);
    if (m_hoverPlay || m_hoverForward || m_hoverBack || m_hoverOpen || m_hoverStop || m_hoverAnalyze ||
        m_hoverTranspose) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        TrackMouseEvent(&track);
    }
}

void CControlDlg::OnLButtonDown(UINT, CPoint point)
{
    m_clickPoint = point;
    SetFocus();
    switch (ClickedZone(m_geometry, point.x, point.y, m_songLoaded)) {
    case PanelZone::Play:
        OnPlay();
        break;
    case PanelZone::Stop:
        OnStop();
        break;
    case PanelZone::TimeTrack:
        MoveTimeKnob(point.x);
        m_timeDrag = true;
        SeekFromKnob();
        break;
    case PanelZone::VolumeTrack:
        MoveVolumeKnob(point.y);
        m_volumeDrag = true;
        ApplyVolumeFromKnob();
        break;
    case PanelZone::Open:
        OnOpenAudio();
        break;
    case PanelZone::Analyze:
        OnAnalyze();
        break;
    case PanelZone::Transpose:
        OnTranspose();
        break;
    case PanelZone::Forward:
        OnForward();
        break;
    case PanelZone::Back:
        OnBack();
        break;
    case PanelZone::Loop:
        OnLoopToggle();
        break;
    case PanelZone::None:
        break;
    }
}

void CControlDlg::OnLButtonUp(UINT, CPoint)
{
    ReleaseCapture();
    m_volumeDrag = false;
    m_timeDrag = false;
}

// --- Knobs and time ---

void CControlDlg::ApplyVolumeFromKnob()
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc || !doc->HasAudio() || !doc->GetPlayer())
        return;
    int level = VolumeLevelFromKnob(m_volumeCentre, m_geometry.volumeTop, m_geometry.volumeBottom, m_volumeSize.cy);
    doc->GetPlayer()->SetVolume((DWORD)level);
}

void CControlDlg::PlaceVolumeKnob(DWORD level)
{
    int centre = VolumeKnobCentreFromLevel((int)(level & 0xFFFF), m_geometry.volumeTop, m_geometry.volumeBottom,
                                           m_volumeSize.cy);
    m_volumeCentre = centre;
    int top = centre - m_volumeSize.cy / 2;
    m_volumeKnobRect = {m_geometry.volumeTrack.left, top, m_geometry.volumeTrack.left + m_volumeSize.cx,
                        top + m_volumeSize.cy};
    InvalidateZone(m_geometry.volumeTrack);
}

void CControlDlg::SeekFromKnob()
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc || !doc->HasAudio())
        return;
    int pos = SeekPositionFromKnob(m_timeCentre, m_geometry.timeLeft, m_geometry.timeRight, m_timeSize.cx,
                                   doc->GetTotalLength());
    doc->Seek(pos, true);
}

void CControlDlg::UpdateTimeKnob()
{
    // Without a document the knob rests at the start.
    CKestrixDoc* doc = ActiveDoc();
    const double pos = doc ? doc->GetPosition() : 0.0;
    int centre = TimeKnobCentreFromPosition(pos > 2147483647.0 ? 2147483647 : (int)pos,
                                            doc ? doc->GetTotalLength() : 0, m_geometry.timeLeft,
                                            m_geometry.timeRight, m_timeSize.cx);
    m_timeCentre = centre;
    int left = centre - m_timeSize.cx / 2;
    m_timeKnobRect = {left, m_geometry.timeTrack.top, left + m_timeSize.cx, m_geometry.timeTrack.top + m_timeSize.cy};
}

void CControlDlg::UpdateTimeText(bool repaint)
{
    CKestrixDoc* doc = ActiveDoc();
    if (doc) {
        const double pos = doc->GetPosition();
        m_timeText = FormatTimeText(pos > 2147483647.0 ? 2147483647 : (int)pos);
    } else {
        m_timeText = "00:00:0";
    }
    if (repaint && m_hWnd) {
        InvalidateZone(m_geometry.timeText);
        UpdateWindow();
    }
}

void CControlDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_PANEL_CLOCK)
        return;
    CKestrixDoc* doc = ActiveDoc();
    if (!m_playing || !doc)
        return;
    // The player does not report the end of the song; the grid views find
    // it on their cursor timer, the lead sheet has none: stop there then, so
    // panel and document agree that nothing plays.
    if (doc->GetCurrentView() == 0 && doc->IsPlaying() && doc->GetTotalLength() > 0 &&
        doc->GetPosition() >= doc->GetTotalLength() - 1)
        doc->Seek(doc->GetTotalLength(), true);
    UpdateTimeKnob();
    UpdateTimeText(false);
    InvalidateZone(m_geometry.timeTrack);
    InvalidateZone(m_geometry.timeText);
}

// --- Keys ---

void CControlDlg::OnKeyUp(UINT nChar, UINT, UINT nFlags)
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc)
        return;
    const bool extended = (nFlags & 0x100) != 0;
    if (nChar == VK_SPACE || (nChar == VK_RETURN && extended)) {
        if (doc->IsPlaying())
            doc->Stop(true);
        else
            doc->Play(doc->IsLoopOn(), false);
    } else if (nChar == VK_LEFT && extended) {
        doc->Seek((int)doc->GetPosition() - m_skipMs, true);
    } else if (nChar == VK_RIGHT && extended) {
        doc->Seek((int)doc->GetPosition() + m_skipMs, true);
    } else if ((nChar == VK_NUMPAD0 || nChar == '0') && !extended) {
        doc->Seek(0, true);
    }
}

void CControlDlg::OnSetFocus(CWnd* pOldWnd)
{
    (void)pOldWnd;
    Default();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// --- Commands ---

void CControlDlg::OnPlay()
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc) {
        m_songLoaded = false;
        return;
    }
    if (!m_playing)
        m_playing = doc->Play(m_loop, false);
    InvalidateZone(m_geometry.play);
    InvalidateZone(m_geometry.stop);
}

void CControlDlg::OnStop()
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc) {
        m_songLoaded = false;
        return;
    }
    doc->Stop(false);
    SetPlaying(false);
}

void CControlDlg::SetPlaying(bool playing)
{
    m_playing = playing;
    if (m_hWnd) {
        if (playing)
            SetTimer(TIMER_PANEL_CLOCK, 50);
        else
            KillTimer(TIMER_PANEL_CLOCK);
        InvalidateZone(m_geometry.play);
        InvalidateZone(m_geometry.stop);
    }
}

void CControlDlg::OnBack() { SkipBy(-m_skipMs); }
void CControlDlg::OnForward() { SkipBy(m_skipMs); }

void CControlDlg::SkipBy(int deltaMs)
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc) {
        m_songLoaded = false;
        return;
    }
    // No song: nothing to move through.
    if (!doc->HasAudio())
        return;
    doc->Seek((int)doc->GetPosition() + deltaMs, true);
    UpdateTimeKnob();
    UpdateTimeText(false);
    InvalidateZone(m_geometry.timeTrack);
    InvalidateZone(m_geometry.timeText);
}

void CControlDlg::OnLoopToggle()
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc) {
        m_songLoaded = false;
        return;
    }
    m_loop = !m_loop;
    doc->SetLoop(m_loop);
    InvalidateZone(m_geometry.loop);
}

void CControlDlg::SetLoopState(bool on)
{
    m_loop = !on;
    OnLoopToggle();
}

void CControlDlg::OnTranspose()
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc) {
        m_songLoaded = false;
        return;
    }
    if (!doc->HasChords())
        return;
    CTransposeDlg dlg(this);
    dlg.SetSemitones(doc->GetTranspose());
    if (dlg.DoModal() == IDOK)
        doc->SetTranspose(dlg.GetSemitones());
}

int CControlDlg::CaptionFontHeight(CDC& dc, const CString& text, int zoneWidth)
{
    // Long translations take a smaller font rather than being cut at both ends.
    return FitFontHeight(kCaptionFontHeight, 8, zoneWidth - 2, [&](int height) {
        CFont font;
        CreateCaptionFont(font, height);
        CFont* old = dc.SelectObject(&font);
        const int width = dc.GetTextExtent(text).cx;
        dc.SelectObject(old);
        return width;
    });
}

void CControlDlg::CreateCaptionFont(CFont& font, int height)
{
    font.CreateFont(height, 0, 0, 0, 700, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, VARIABLE_PITCH, "Verdana");
}

void CControlDlg::ResetDisplay()
{
    m_firstPaint = true;
    m_timeText = "00:00:0";
    if (m_hWnd) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

void CControlDlg::ShowDocument(CKestrixDoc* doc)
{
    m_songLoaded = doc && doc->HasAudio();
    m_loop = doc && doc->IsLoopOn();
    SetPlaying(doc && doc->IsPlaying());
    if (doc && doc->GetPlayer())
        PlaceVolumeKnob(doc->GetPlayer()->GetVolume());
    UpdateTimeKnob();
    UpdateTimeText(false);
    if (m_hWnd)
        Invalidate(FALSE);
}

// --- Opening and loading ---

void CControlDlg::OnOpenAudio()
{
    if (!ActiveDoc()) {
        Message(51);
        return;
    }
    if (m_busy)
        return;
    OnStop();

    CString filter = BuildSoundFileFilter(GetExtensions());
    filter.Replace('|', '\0');
    char file[MAX_PATH * 4] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    {
        CSystemBoxGuard guard(ofn.hwndOwner);
        if (!GetOpenFileNameA(&ofn))
            return;
    }
    OpenSong(file);
}

bool CControlDlg::IsSongPath(const CString& path) const
{
    if (IsWavPath(path))
        return true;
    for (const CString& e : GetExtensions())
        if (path.GetLength() >= e.GetLength() && path.Right(e.GetLength()).CompareNoCase(e) == 0)
            return true;
    return false;
}

bool CControlDlg::CheckUsableName(const CString& path)
{
    if (!NameLostLetters(path))
        return true;
    Message(kLangNameNotUsable);
    return false;
}

bool CControlDlg::OpenSong(const CString& path)
{
    CKestrixDoc* doc = ActiveDoc();
    if (!doc || m_busy)
        return false;
    OnStop();
    if (!CheckUsableName(path))
        return false;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        Message(kLangSongNotFound);
        return false;
    }

    struct WaitCursor {
        WaitCursor() { if (CFrameApp* a = AfxGetFrameApp()) a->DoWaitCursor(1); }
        ~WaitCursor() { if (CFrameApp* a = AfxGetFrameApp()) a->DoWaitCursor(-1); }
    } wait;
    if (doc->HasAudio()) {
        const int answer = AfxMessageBox(LangText(52), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return false;
        if (answer == IDYES) {
            if (CWnd* main = AfxGetMainWnd())
                main->SendMessage(WM_COMMAND, ID_FILE_NEW);
            // The new child frame activated the main window; the user is
            // still working in the panel.
            SetActiveWindow();
            CKestrixDoc* fresh = ActiveDoc();
            if (!fresh || fresh == doc)
                return false;
            doc = fresh;
        }
        // "No" replaces the song of the document the question was about;
        // its results go once the new song has loaded, so a failed
        // conversion leaves the old song whole.
    }
    const CString previous = doc->GetAudioPath();
    doc->SetAudioPath(path);
    if (LoadSong(doc, path, SongTitleFromPath(path), 1))
        return true;
    doc->SetAudioPath(previous);
    return false;
}

bool CControlDlg::LoadAudioFile(const CString& path, const CString& title, int fresh)
{
    return LoadSong(ActiveDoc(), path, title, fresh);
}

bool CControlDlg::LoadSong(CKestrixDoc* doc, const CString& path, const CString& title, int fresh)
{
    if (!doc || !doc->GetPlayer())
        return false;
    CWaveOut* player = doc->GetPlayer();
    // A WAV the player cannot take as it is (wide or float samples, more
    // than two channels) is converted like any other song.
    const bool convert = !IsWavPath(path) || WavNeedsConversion(path);
    const CString file = convert ? m_installFolder + doc->GetTempWavName() : path;
    // A converted file that does not become the song is no song: it goes
    // (the converters have closed it when they tell), so a disk it filled
    // is given back.
    const auto dropConverted = [&] {
        if (convert)
            DeleteFileA(file);
    };
    if (convert && !ConvertSong(path, file)) {
        dropConverted();
        return false; // the dialog has said why
    }
    const WaveLoadFailure failure = ReadSong(player, file);
    if (failure != WaveLoadFailure::None) {
        dropConverted();
        return OnLoadFailed(doc, player, failure, convert);
    }
    ClearResults();
    const double length = player->GetLengthMs();
    if (fresh)
        doc->ClearResults();
    doc->SetTitle(title);
    doc->OnAudioLoaded(length > 2147483647.0 ? 2147483647 : (int)length, fresh != 0);
    if (player->GetSampleRate() < kLowSampleRate)
        Message(54);
    ShowWindow(SW_SHOW);
    PlaceVolumeKnob(player->GetVolume());
    m_songLoaded = true;
    UpdateTimeKnob();
    UpdateTimeText(false);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return true;
}

bool CControlDlg::ConvertSong(const CString& source, const CString& target)
{
    if (!m_pSoundLoader || !m_pSoundLoader->IsLoaded())
        return false;
    const unsigned int run = NextRun();
    m_progressMessage = 0;
    {
        // The library may ask the user something before it starts (a CD
        // drive that does not open): that box is modal too.
        CModalHold hold(nullptr);
        m_pSoundLoader->Convert(source, target, run);
    }
    m_pProgress->SetStatusText("Converting to wav...");
    m_pProgress->SetPos(0);
    return RunProgress(run) == IDOK;
}

namespace {
// What the song reader's thread works with; the panel waits for the thread
// before it lets go of it.
struct SongRead {
    HWND notify;
    unsigned int run;
    CString path;
    int formatDevice;
    WaveFileData data;
};

DWORD WINAPI SongReadThreadProc(LPVOID param)
{
    SongRead* r = static_cast<SongRead*>(param);
    r->data = CWaveOut::ReadWaveFile(r->path, r->formatDevice, [r](int percent) {
        PostMessageA(r->notify, WM_SONG_READ_STATUS, RunCode(SONG_READ_PROGRESS, r->run), percent);
    });
    PostMessageA(r->notify, WM_SONG_READ_STATUS, RunCode(SONG_READ_DONE, r->run), 0);
    return 0;
}
} // namespace

WaveLoadFailure CControlDlg::ReadSong(CWaveOut* player, const CString& file)
{
    // A file that is no song the player takes leaves the song it holds as
    // it was (so a failed replacement loses nothing, as a failed conversion
    // does not). Once the file is known good the old song goes first, so
    // that two long ones never share memory.
    const WaveLoadFailure head = CWaveOut::CheckWaveFile(file, player->FormatDevice());
    if (head != WaveLoadFailure::None)
        return head;
    player->Unload();
    SongRead r{m_hWnd, NextRun(), file, player->FormatDevice(), WaveFileData()};
    HANDLE thread = CreateThread(nullptr, 0, &SongReadThreadProc, &r, 0, nullptr);
    if (!thread) {
        r.data = CWaveOut::ReadWaveFile(file, r.formatDevice, nullptr);
    } else {
        // An hour of CD sound takes seconds to read: that is shown.
        if (WaitForSingleObject(thread, kQuickReadMs) == WAIT_TIMEOUT) {
            m_pProgress->SetStatusText(LangText(kLangOpeningSong));
            m_pProgress->SetPos(0);
            RunProgress(r.run);
        }
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    return player->TakeWave(file, r.data) ? WaveLoadFailure::None : player->LastLoadFailure();
}

bool CControlDlg::OnLoadFailed(CKestrixDoc* doc, CWaveOut* player, WaveLoadFailure failure, bool converted)
{
    // Say what happened to the file; a document whose player lost its song
    // is left without audio.
    if (!player->IsLoaded()) {
        doc->OnAudioLoadFailed();
        m_songLoaded = false;
    }
    switch (failure) {
    case WaveLoadFailure::TooLong: Message(kLangSongTooLong); break;
    case WaveLoadFailure::Refused: Message(kLangSongFormatRefused); break;
    case WaveLoadFailure::Open: Message(converted ? 53 : kLangSongNotOpened); break;
    default: Message(converted ? 53 : kLangSongDamaged); break;
    }
    Invalidate(FALSE);
    return false;
}

// --- Analysis ---

void CControlDlg::ClearResults()
{
    m_runner.Job().results.Clear();
}

void CControlDlg::CancelAnalysis()
{
    if (m_cancelEvent)
        SetEvent(m_cancelEvent);
}

void CControlDlg::ResetCancelEvent()
{
    if (m_cancelEvent)
        ResetEvent(m_cancelEvent);
}

void CControlDlg::Message(int text) { ShowMessageBox(LangText(text), LangText(122), false, this); }

unsigned int CControlDlg::NextRun()
{
    m_run = m_run % 0xFFFF + 1; // 1 .. 0xFFFF: 0 names no run
    return m_run;
}

INT_PTR CControlDlg::RunProgress(unsigned int run)
{
    m_busy = true;
    m_pProgress->SetRun(run);
    const INT_PTR result = m_pProgress->DoModal();
    m_busy = false;
    return result;
}

void CControlDlg::OnAnalyze()
{
    ResetCancelEvent();
    OnStop();
    CKestrixDoc* doc = ActiveDoc();
    if (!doc) {
        m_songLoaded = false;
        return;
    }
    if (!doc->HasAudio() || m_busy)
        return;
    m_pProgress->SetPos(0);
    m_pProgress->SetStatusText("");
    ClearResults();
    m_analysedDoc = doc;

    CKestrixApp* app = GetKestrixApp();
    const unsigned int run = NextRun();
    if (!m_runner.Start(m_hWnd, doc->GetPlayer(), app ? app->GetEngineLoader() : nullptr, m_cancelEvent, run)) {
        Message(kLangAnalysisCannotRun);
        return;
    }
    if (RunProgress(run) != IDOK)
        return;
    AnalysisResults& r = m_runner.Job().results;
    m_analysedDoc->SetChords(r.chords);
    m_analysedDoc->SetPitchSets(r.pitchSetCodes, r.pitchSetTimes);
    m_analysedDoc->SetBassNotes(r.bassNotes);
    m_analysedDoc->SetPitchPairs(r.pitchPairCodes, r.pitchPairTimes);
    m_analysedDoc->SetTuning(r.referencePitch);
    m_analysedDoc->SetKey(r.keyName);
    ClearResults();
    m_pProgress->SetPos(0);
}

// --- Library messages ---

void CControlDlg::Forward(UINT message, WPARAM code, LPARAM value)
{
    // A conversion posts its position for every block it converts, thousands
    // per song and mostly the same percent: only a change goes on, so the
    // dialog's queue does not slow the open down.
    const bool progress = (message == WM_DECODE_STATUS && CodeOf(code) == DECODE_PROGRESS) ||
                          (message == WM_CD_RIP_STATUS && CodeOf(code) == CD_RIP_PROGRESS);
    if (progress) {
        if (message == m_progressMessage && value == m_progressValue)
            return;
        m_progressMessage = message;
        m_progressValue = value;
    } else {
        m_progressMessage = 0;
    }
    // The dialog takes its own run's messages and tells of failures.
    if (m_pProgress && m_pProgress->GetSafeHwnd())
        m_pProgress->PostMessage(message, code, value);
}

LRESULT CControlDlg::OnAnalysisProgress(WPARAM code, LPARAM value)
{
    Forward(WM_ANALYSIS_PROGRESS, code, value);
    return 0;
}

LRESULT CControlDlg::OnAnalysisNoEngine(WPARAM code, LPARAM value)
{
    // The dialog ends and tells the user; the worker reads no results.
    Forward(WM_ANALYSIS_NO_ENGINE, code, value);
    return 0;
}

LRESULT CControlDlg::OnCdRipStatus(WPARAM code, LPARAM value)
{
    Forward(WM_CD_RIP_STATUS, code, value);
    return 0;
}

LRESULT CControlDlg::OnDecodeStatus(WPARAM code, LPARAM value)
{
    Forward(WM_DECODE_STATUS, code, value);
    return 0;
}

LRESULT CControlDlg::OnDecodeResult(WPARAM code, LPARAM value)
{
    Forward(WM_DECODE_RESULT, code, value);
    return 0;
}

LRESULT CControlDlg::OnSongReadStatus(WPARAM code, LPARAM value)
{
    Forward(WM_SONG_READ_STATUS, code, value);
    return 0;
}
