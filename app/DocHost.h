#pragma once
// What the document needs of the application, the transport panel, the
// tools panel and the frames. The application object installs its own
// host; until then (and in tests) a neutral one answers: no texts, no
// settings (-1), device 0, no panel.
#include <windows.h>

#include "app/PlaybackControl.h"
#include "framework/CString.h"

class CDocument;
class CWnd;
class CView;

// The transport panel as the document calls it.
class IDocPanel : public IPlaybackPanel {
public:
    virtual void ResetDisplay() = 0;
    virtual bool LoadAudioFile(const CString& path, const CString& title, int fresh) = 0;
    virtual int GetSkipMs() const = 0;
    // The views' A-B selection made (true) or cleared (false).
    virtual void SetLoopState(bool on) = 0;
};

class IDocHost {
public:
    virtual ~IDocHost() = default;
    virtual CString GetLangString(int id) = 0;
    virtual int GetSetting(const char* key) = 0; // -1 when absent
    virtual int GetSoundCard() = 0;
    // As stored: file names are appended directly.
    virtual CString GetInstallFolder() = 0;
    virtual HWND GetMainWindow() = 0;
    // Parent of a new document's views (the active child frame); null:
    // the parent of the view the framework made.
    virtual CWnd* GetViewParent() = 0;
    virtual IDocPanel* GetControlPanel() = 0; // may be null
    // The panels show and act on one document; another one's playback
    // (its song ending unseen) must not reach them. Without frames (tests)
    // every document counts.
    virtual bool IsActiveDocument(const CDocument* doc)
    {
        (void)doc;
        return true;
    }
    virtual int GetToolsMode() = 0;
    virtual void SetChordOptionsShown(bool shown) = 0;
    virtual void ShowChordDiagram(bool show) = 0;
    // The child frame makes the view its active view and lays it out.
    virtual void ActivateView(CView* view) = 0;
    // A document closed; the application re-texts the menu when none is left.
    virtual void OnDocumentClosed() = 0;
    // What the panels show of a document changed (its key, tuning or
    // transposition), or another document became the active one: they show
    // the active document's again.
    virtual void RefreshPanels() = 0;
    // The program's message box: text and caption by language number.
    virtual void ShowMessage(const CString& text, const CString& caption) = 0;

    // What the score views hand to the application's windows. Each call
    // does nothing for a window that does not exist.
    virtual bool GetViewBarCount() = 0; // setting "viewBarCount" is 1
    // The pitches under the mouse, for the tools panel; empty clears.
    virtual void SetToolsPanelText(const CString& text) = 0;
    // The chord under the mouse, for the chord diagram (version 1); empty clears.
    virtual void ShowChordName(const CString& name) = 0;
    // Printing hides and shows the transport panel, the tools panel and,
    // with withChordDiagram, the chord diagram window.
    virtual void ShowToolWindows(bool show, bool withChordDiagram) = 0;
};

IDocHost* GetDocHost();
void SetDocHost(IDocHost* host); // null: the neutral host
