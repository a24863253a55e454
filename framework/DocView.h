#pragma once
// Documents and their views: a document holds the data and a list of the
// views that show it; templates create documents with their frames and
// views; the document manager runs New, Open, Save, Save As and Close.
#include <windows.h>

#include <vector>

#include "framework/Archive.h"
#include "framework/CString.h"
#include "framework/Wnd.h"

class CDocument;
class CView;
class CDocTemplate;
class CDocManager;
class CPrintInfo;

// Identifier of a frame's first pane: the view that fills its client area.
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF

// Commands the document layer handles.
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#endif
// Printing, served by the views.
#ifndef ID_FILE_PRINT
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_PREVIEW 0xE109
#endif
// Edit commands, served by the view that holds the text.
#ifndef ID_EDIT_CUT
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B
#endif

// Sent to every descendant of a new frame so its views run their initial
// update.
#define WM_INITIALUPDATE 0x0364

// Iteration position over the framework's lists (index + 1, null at the end).
typedef struct AfxPositionTag* POSITION;

// What a frame needs to create the views of a document.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CWnd* m_pCurrentFrame = nullptr;
};

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    // Views.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    int GetViewCount() const { return static_cast<int>(m_viewList.size()); }
    // Every view but pSender gets OnUpdate(pSender, lHint, pHint).
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);
    // The view list changed: a document without views closes itself when
    // auto-delete is on.
    virtual void OnChangedViewList();

    // Life cycle.
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    virtual void ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving);

    // Asks whether unsaved changes are to be saved: FALSE when the user
    // cancels or the save fails.
    virtual BOOL SaveModified();
    // The question itself (IDYES, IDNO or IDCANCEL).
    virtual int PromptSaveModified(LPCSTR lpszPrompt);
    // The name the question gives the document: its path, else its title.
    virtual CString GetSaveModifiedName();
    // More file types the Save As dialog offers ("Name|*.ext|..."), none here.
    virtual CString GetExtraSaveFilters() { return CString(); }
    virtual BOOL CanCloseFrame(CWnd* pFrame);
    // Saves under lpszPathName, or asks for a name when it is null.
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    // The name a save goes to: the given one, or the user's answer to the
    // Save As dialog (FALSE when cancelled).
    BOOL ChooseSaveName(LPCSTR lpszPathName, CString& name);
    virtual BOOL DoFileSave();

    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Deleted by OnCloseDocument and when the last view goes.
    BOOL m_bAutoDelete;

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    std::vector<CView*> m_viewList;
    BOOL m_bModified;

    friend class CDocTemplate;
    DECLARE_MESSAGE_MAP()
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    BOOL IsActiveView() const { return GetActiveView() == this; }

    // The view that has the user's attention; the frames keep it in step.
    static CView* GetActiveView();
    static void SetActiveView(CView* pView);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Printing, in this order: preparation (the page count, then the print
    // dialog, or the default printer for a preview), begin, each page, end.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Draws the page pInfo->m_nCurPage on the printer (or preview) context.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // The print job and the preview; the views map their commands here.
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

protected:
    // Views are heap objects that die with their window.
    void PostNcDestroy() override;

    CDocument* m_pDocument;
    friend class CDocument;
    DECLARE_MESSAGE_MAP()
};

// A view larger than its window, scrolled by its scroll bars.
class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    CScrollView();

    void SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage = SIZE{0, 0}, SIZE sizeLine = SIZE{0, 0});
    CPoint GetScrollPosition() const;
    void ScrollToPosition(POINT pt);
    CSize GetTotalSize() const { return m_totalLog; }

    void OnPrepareDC(CDC* pDC) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

protected:
    void UpdateBars();
    void ScrollBy(int bar, int newPos);

    int m_nMapMode;
    CSize m_totalLog;
    CSize m_pageDev;
    CSize m_lineDev;
    CPoint m_pos;
    DECLARE_MESSAGE_MAP()
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };

    // The document strings come from string resource nIDResource
    // ("title\ndoc name\nnew name\nfilter\n.ext\ntype id\ntype name").
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    BOOL GetDocString(CString& rString, DocStringIndex index) const;
    void SetDocStrings(LPCSTR lpszStrings);

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    virtual CDocument* CreateNewDocument();
    // The frame of a new document. Without a frame class the views are
    // created directly in the frame parent (a test window, say).
    virtual CWnd* CreateNewFrame(CDocument* pDoc, CWnd* pOther);
    virtual void InitialUpdateFrame(CWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual Confidence MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch);
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    // Parent window of the frames (or, without frame class, of the views).
    void SetFrameParent(CWnd* pParent) { m_pFrameParent = pParent; }
    CWnd* GetFrameParent() const { return m_pFrameParent; }

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;

protected:
    CString m_strDocStrings;
    CWnd* m_pFrameParent;
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                      const CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    void SetDefaultTitle(CDocument* pDocument) override;
    // Null path: a new, untitled document.
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    int GetDocumentCount() const { return static_cast<int>(m_docList.size()); }

protected:
    std::vector<CDocument*> m_docList;
    UINT m_nUntitledCount;
};

class CDocManager {
public:
    CDocManager();
    virtual ~CDocManager(); // deletes the templates

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    int GetDocTemplateCount() const { return static_cast<int>(m_templateList.size()); }

    virtual void OnFileNew();
    virtual void OnFileOpen();
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();
    // The file dialog; FALSE when cancelled. extraFilters ("Name|*.ext|...")
    // follow the template's own type, before "All Files".
    virtual BOOL DoPromptFileName(CString& fileName, LPCSTR lpszTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate, LPCSTR extraFilters = nullptr);

protected:
    std::vector<CDocTemplate*> m_templateList;
};

// A name saved under the type chosen in the Save As dialog (1-based, in the
// dialog's "name\0pattern\0...\0\0" filters) ends in that type's extension:
// another offered type's extension is replaced, any other one kept and the
// type's added. "*.*" changes nothing.
CString NameForFilterType(const CString& name, const char* filters, int chosen);

// The application's document manager (created on first use).
CDocManager* AfxGetDocManager();
// Replaces it (the old one is deleted); the application sets its own.
void AfxSetDocManager(CDocManager* pManager);
