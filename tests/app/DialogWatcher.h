#pragma once
// Finds the dialog box that a thread shows modally (a message box or one of
// the program's dialogs), records what it shows and closes it, from a thread
// of its own, so that a test can call code that blocks in a modal box.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class DialogWatcher {
public:
    enum Action {
        kCommandOk,  // WM_COMMAND IDOK to the box
        kPressEscape, // a key press of Escape to the focused control
        kClickOk,    // a click on the OK button (BM_CLICK)
    };

    // Watches for a visible dialog of thread uiThread. With waitForTitle the
    // box is only acted on once its title is set.
    DialogWatcher(DWORD uiThread, Action action, bool waitForTitle = false)
        : m_thread(uiThread), m_action(action), m_waitForTitle(waitForTitle), m_stop(false), m_found(false),
          m_worker([this] { Run(); })
    {
    }
    ~DialogWatcher()
    {
        m_stop = true;
        m_worker.join();
    }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Read these after the modal call has returned.
    bool found() const { return m_found; }
    std::string title;
    std::string parentTitle;           // title of the box's owner, "" for none
    std::vector<std::string> texts;     // child window texts in z-order
    std::vector<int> ids;               // their control ids

private:
    static std::string Text(HWND w)
    {
        char buf[2048] = {0};
        GetWindowTextA(w, buf, sizeof buf);
        return buf;
    }
    static std::string ClassOf(HWND w)
    {
        char buf[64] = {0};
        GetClassNameA(w, buf, sizeof buf);
        return buf;
    }
    static BOOL CALLBACK FindBox(HWND w, LPARAM p)
    {
        if (IsWindowVisible(w) && ClassOf(w) == "#32770") {
            *(HWND*)p = w;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK Collect(HWND w, LPARAM p)
    {
        DialogWatcher* self = (DialogWatcher*)p;
        self->texts.push_back(Text(w));
        self->ids.push_back(GetDlgCtrlID(w));
        return TRUE;
    }
    void Run()
    {
        HWND box = nullptr;
        // Gives up after a minute so that a missing box fails instead of hanging.
        for (int i = 0; i < 3000 && !m_stop; ++i) {
            box = nullptr;
            EnumThreadWindows(m_thread, &DialogWatcher::FindBox, (LPARAM)&box);
            if (box && (!m_waitForTitle || !Text(box).empty()))
                break;
            box = nullptr;
            Sleep(20);
        }
        if (!box)
            return;
        title = Text(box);
        HWND owner = GetWindow(box, GW_OWNER);
        parentTitle = owner ? Text(owner) : "";
        EnumChildWindows(box, &DialogWatcher::Collect, (LPARAM)this);
        m_found = true;
        switch (m_action) {
        case kCommandOk:
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            break;
        case kPressEscape: {
            GUITHREADINFO gui = {};
            gui.cbSize = sizeof gui;
            HWND target = box;
            if (GetGUIThreadInfo(m_thread, &gui) && gui.hwndFocus)
                target = gui.hwndFocus;
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            break;
        }
        case kClickOk:
            PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            break;
        }
    }

    DWORD m_thread;
    Action m_action;
    bool m_waitForTitle;
    std::atomic<bool> m_stop;
    std::atomic<bool> m_found;
    std::thread m_worker;
};
