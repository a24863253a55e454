#pragma once
// Frame windows and their control bars: the SDI-style frame, the MDI main
// frame with its client, MDI child frames, toolbars and status bars, and the
// application services the frames rely on (recent files, command line,
// shell registration, wait cursor). Docking is fixed: top bars in rows at
// the place they were docked, bottom bars stacked.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/App.h"
#include "framework/Controls.h"
#include "framework/DocView.h"
#include "framework/Menu.h"

// Control bar ids and styles.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_TOP (CBRS_ALIGN_TOP)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM)
#define CBRS_SIZE_DYNAMIC 0x0400L

// Frame styles.
#define FWS_ADDTOTITLE 0x00008000L

// Commands served by the frames and the application.
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_HELP_FINDER 0xE143
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_FILE4 0xE113
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703
#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif

#define AFX_IDW_MDICLIENT 0xE900 - 1

class CFrameWnd;

// A bar along an edge of its frame.
class CControlBar : public CWnd {
public:
    CControlBar() : m_dwStyle(0) {}
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    void EnableDocking(DWORD) {}
    // Height (top and bottom bars) or width the bar wants.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Update handlers of the bar's items, routed through pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) = 0;
    CFrameWnd* GetParentFrame() const;

    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    void PostNcDestroy() override;
    DWORD m_dwStyle;
    DECLARE_MESSAGE_MAP()
};

class CToolBar : public CControlBar {
public:
    CToolBar();
    ~CToolBar() override;
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);
    // ID_SEPARATOR entries become separators; image index = position.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    void SetImageList(CImageList* pList);
    void SetDisabledImageList(CImageList* pList);
    void SetHotImageList(CImageList* pList);
    int GetCount() const;
    UINT GetItemID(int nIndex) const;
    BOOL CheckButton(UINT nID, BOOL bCheck);
    BOOL EnableButton(UINT nID, BOOL bEnable);
    BOOL IsButtonChecked(UINT nID) const;
    BOOL IsButtonEnabled(UINT nID) const;
    void AutoSize();
    CSize GetMaxSize() const;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
};

// The status bar's panes: a separator stretches, the others are as wide as
// their text (string resource of the id).
class CStatusBar : public CControlBar {
public:
    CStatusBar();
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    virtual BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return (int)m_panes.size(); }
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);

protected:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    void UpdateParts();
    void ApplyText(int nIndex);
    std::vector<Pane> m_panes;
    DECLARE_MESSAGE_MAP()
};
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Title (string resource nIDResource up to its first "\n"), menu,
    // accelerators and icon of that id.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    virtual CFrameWnd* GetActiveFrame() { return this; }
    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    void EnableDocking(DWORD) {}
    // lpRect (screen coordinates) places a top bar: its row by the top, its
    // place in the row by the left; a rectangle reaching past the frame's
    // right edge keeps the bar at that edge. Without one the bar follows
    // the others in the first row.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID) const;
    const std::vector<CControlBar*>& GetControlBars() const { return m_bars; }
    void EnableToolTips(BOOL = TRUE) {}
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    HMENU GetDefaultMenu() const { return m_hMenuDefault; }
    HACCEL m_hAccelTable;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

protected:
    void PostNcDestroy() override;
    // The client area left to the pane once the bars are placed.
    void RepositionBars(CRect& rcClient);
    virtual HWND GetPaneWindow();

    UINT m_nIDHelp;
    HMENU m_hMenuDefault;
    CString m_strTitle;
    CView* m_pViewActive;
    HWND m_hWndViewActive;
    std::vector<CControlBar*> m_bars;
    // Where top bars were docked, in client coordinates.
    struct DockPlace {
        CControlBar* bar;
        CPoint wanted;
        bool atRightEdge;
    };
    std::vector<DockPlace> m_dockPlaces;
    BOOL m_bInRecalcLayout;
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    virtual BOOL CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu);
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    HWND m_hWndMDIClient;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HWND GetPaneWindow() override { return m_hWndMDIClient; }
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();
    // Created as an MDI child of pParentWnd's MDI client (pParentWnd: the
    // MDI frame); the shared menu is the template's resource.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    BOOL DestroyWindow() override;
    void ActivateFrame(int nCmdShow = -1) override;
    virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
    void OnUpdateFrameTitle(BOOL) override {}
    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
    void MDIActivate();
    void MDIMaximize();
    HMENU GetSharedMenu() const { return m_hMenuShared; }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();

protected:
    HMENU m_hMenuShared;
    CMDIFrameWnd* m_pMDIFrame;
    DECLARE_MESSAGE_MAP()
};

// The frame that holds pWnd (its nearest frame ancestor), or null.
CFrameWnd* AfxGetParentFrame(const CWnd* pWnd);

// Command line as the shell passes it.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FileNothing };
    CCommandLineInfo() : m_nShellCommand(FileNew), m_bShowSplash(TRUE) {}
    virtual ~CCommandLineInfo() {}
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);
    int m_nShellCommand;
    BOOL m_bShowSplash;
    CString m_strFileName;
};

// The most recently used files, kept in the private profile ("Recent File
// List", "File1".."FileN"), newest first.
class CRecentFileList {
public:
    CRecentFileList(int nSize) : m_nSize(nSize) {}
    void Add(LPCSTR lpszPathName);
    void Remove(int nIndex);
    int GetSize() const { return (int)m_files.size(); }
    const CString& operator[](int i) const { return m_files[(size_t)i]; }
    void ReadList();
    void WriteList();
    // Replaces the placeholder item (and earlier entries) in the menu.
    void UpdateMenu(CCmdUI* pCmdUI);

private:
    int m_nSize;
    std::vector<CString> m_files;
};

// An application with documents and frames.
class CFrameApp : public CWinApp {
public:
    explicit CFrameApp(LPCSTR lpszAppName = nullptr);
    ~CFrameApp() override;

    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    void EnableShellOpen() { m_bShellOpen = TRUE; }
    // Records each template's file type under HKEY_CLASSES_ROOT; true when
    // a key changed.
    bool RegisterShellFileTypes(BOOL bCompat = FALSE);
    // +1 starts, -1 ends, 0 restores the wait cursor.
    virtual void DoWaitCursor(int nCode);
    BOOL IsWaitCursor() const { return m_nWaitCursorCount > 0; }
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    int ExitInstance() override;

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    afx_msg void OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    CRecentFileList* m_pRecentFileList;

protected:
    int m_nWaitCursorCount;
    BOOL m_bShellOpen;
    DECLARE_MESSAGE_MAP()
};

CFrameApp* AfxGetFrameApp();
