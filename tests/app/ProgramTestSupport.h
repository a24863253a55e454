#pragma once
// For tests that run the whole program in-process: a registered test
// installation folder, message pumping, a watcher thread that answers the
// program's modal boxes (open-file dialog, message boxes, progress dialog)
// as a user would, hooks that note every dialog box as it closes (also those
// too short-lived to be seen) and the panel's button messages, mouse and
// keyboard input, and the played-audio file of the Wine runner.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/InstallFolderWin.h"
#include "tests/support/ExeFolder.h"

namespace progtest {

using ::ExeFolder;

inline bool WriteBytes(const std::string& path, const void* data, size_t size)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    const BOOL ok = ::WriteFile(h, data, (DWORD)size, &n, nullptr);
    CloseHandle(h);
    return ok && n == size;
}
inline bool WriteText(const std::string& path, const std::string& text)
{
    return WriteBytes(path, text.data(), text.size());
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::vector<unsigned char> ReadAll(const std::string& path)
{
    std::vector<unsigned char> b;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return b;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    return b;
}

// The Wine runner sends the default sound device into a file and names it
// (as a Unix path) in QUORVA_PLAYED_FILE; empty when not run that way.
inline std::string PlayedFilePath()
{
    const char* unix = std::getenv("QUORVA_PLAYED_FILE");
    if (!unix || !*unix)
        return std::string();
    std::string p = std::string("Z:") + unix;
    for (char& c : p)
        if (c == '/')
            c = '\\';
    return p;
}

// A fresh folder registered as the program's installation folder, holding
// the given files copied from the test's own folder (the build's bin/,
// laid out like an installation) and a settings file that names a language,
// so that no language chooser comes up, and hides the quick-start page.
class TestInstallation {
public:
    explicit TestInstallation(const std::vector<std::string>& files, const char* prefix = "qp-prog-")
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + prefix + std::to_string(GetTickCount()) + "-" + std::to_string(Counter()++) + "\\";
        CreateDirectoryA(path.c_str(), nullptr);
        for (const std::string& f : files)
            if (!CopyFileA((ExeFolder() + f).c_str(), (path + f).c_str(), FALSE))
                missing.push_back(f);
        // No quick-start page over the windows that tests click on.
        WriteText(path + "set.ton", "[defaultLanguage]=0\r\n[showQuickStart]=0\r\n");
        HKEY key;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        RegSetValueExA(key, kAppPathsValue, 0, REG_SZ, (const BYTE*)path.c_str(), (DWORD)path.size() + 1);
        RegCloseKey(key);
    }
    ~TestInstallation()
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((path + "*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((path + fd.cFileName).c_str());
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(path.c_str());
    }
    TestInstallation(const TestInstallation&) = delete;
    TestInstallation& operator=(const TestInstallation&) = delete;

    // Names in the folder matching a pattern such as "tempWavFile*.wav".
    std::vector<std::string> Find(const char* pattern) const
    {
        std::vector<std::string> out;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((path + pattern).c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do
                out.push_back(fd.cFileName);
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        return out;
    }

    std::string path;                 // ends in "\"
    std::vector<std::string> missing; // files that could not be copied

private:
    static int& Counter()
    {
        static int n = 0;
        return n;
    }
};

// Dispatches the thread's messages through pre-translation, as the
// application's loop does; stops early at WM_QUIT (which it leaves queued).
template <class App>
bool PumpOnce(App& app)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT)
            return false;
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        if (!app.PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    app.OnIdle(0);
    return true;
}

template <class App>
void Pump(App& app)
{
    for (int round = 0; round < 5; ++round)
        if (!PumpOnce(app))
            return;
}

// Pumps until pred() holds or the time is up; returns pred().
template <class App, class Pred>
bool PumpUntil(App& app, Pred pred, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (!PumpOnce(app))
            return pred();
        if (pred())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

template <class App>
void PumpFor(App& app, DWORD ms)
{
    PumpUntil(app, [] { return false; }, ms);
}

// Closes the program's main window when it is still there, drops what is
// queued and runs the application's exit.
template <class App>
void EndProgram(App& app)
{
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd)
        SendMessageA(app.m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ;
    app.ExitInstance();
}

inline std::string ClassOf(HWND w)
{
    char buf[64] = "";
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}
inline std::string TextOf(HWND w)
{
    char buf[2048] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

// Notes, on the thread that installs it, every dialog box destroyed while it
// is installed, with the texts of its controls at that moment: it sees boxes
// that open and close within one call, before a watcher could look.
class DialogHook {
public:
    struct Closed {
        std::string title;
        std::vector<int> ids;
        std::vector<std::string> texts;
        bool Has(int id) const
        {
            for (int i : ids)
                if (i == id)
                    return true;
            return false;
        }
        std::string TextOf(int id) const
        {
            for (size_t i = 0; i < ids.size(); ++i)
                if (ids[i] == id)
                    return texts[i];
            return std::string();
        }
    };

    DialogHook()
    {
        Current() = this;
        m_hook = SetWindowsHookExA(WH_CBT, &DialogHook::Proc, nullptr, GetCurrentThreadId());
    }
    ~DialogHook()
    {
        if (m_hook)
            UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    DialogHook(const DialogHook&) = delete;
    DialogHook& operator=(const DialogHook&) = delete;

    bool installed() const { return m_hook != nullptr; }
    std::vector<Closed> closed;

    // Closed boxes that hold a control of this id.
    int CountWith(int id) const
    {
        int n = 0;
        for (const Closed& c : closed)
            n += c.Has(id);
        return n;
    }

private:
    static DialogHook*& Current()
    {
        static DialogHook* p = nullptr;
        return p;
    }
    static BOOL CALLBACK Collect(HWND w, LPARAM p)
    {
        Closed* c = (Closed*)p;
        if (GetParent(w) == GetAncestor(w, GA_ROOT)) {
            c->ids.push_back(GetDlgCtrlID(w));
            c->texts.push_back(progtest::TextOf(w));
        }
        return TRUE;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        DialogHook* self = Current();
        if (self && code == HCBT_DESTROYWND) {
            HWND w = (HWND)wParam;
            if (ClassOf(w) == "#32770" && !(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) {
                Closed c;
                c.title = progtest::TextOf(w);
                EnumChildWindows(w, &DialogHook::Collect, (LPARAM)&c);
                self->closed.push_back(c);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook;
};

// Counts the left-button presses and releases that the thread installing it
// takes from its queue for one window (real input arrives this way).
class ButtonHook {
public:
    explicit ButtonHook(HWND target) : m_target(target)
    {
        Current() = this;
        m_hook = SetWindowsHookExA(WH_GETMESSAGE, &ButtonHook::Proc, nullptr, GetCurrentThreadId());
    }
    ~ButtonHook()
    {
        if (m_hook)
            UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    ButtonHook(const ButtonHook&) = delete;
    ButtonHook& operator=(const ButtonHook&) = delete;

    int downs = 0, ups = 0;
    POINT lastDown = {-1, -1}; // client coordinates

private:
    static ButtonHook*& Current()
    {
        static ButtonHook* p = nullptr;
        return p;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        ButtonHook* self = Current();
        const MSG* m = (const MSG*)lParam;
        if (self && code == HC_ACTION && wParam == PM_REMOVE && m->hwnd == self->m_target) {
            if (m->message == WM_LBUTTONDOWN) {
                ++self->downs;
                self->lastDown = POINT{(short)LOWORD(m->lParam), (short)HIWORD(m->lParam)};
            } else if (m->message == WM_LBUTTONUP) {
                ++self->ups;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HWND m_target;
    HHOOK m_hook;
};

// A left click with the system's mouse at a client point of the window.
inline bool SendClick(HWND w, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(w, &p);
    if (!SetCursorPos(p.x, p.y))
        return false;
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, in, sizeof(INPUT)) == 2;
}

// A key pressed and released on the keyboard, to the focused window.
inline bool SendKey(WORD vk, bool extended = false)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[0].ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    in[1].ki.dwFlags = in[0].ki.dwFlags | KEYEVENTF_KEYUP;
    return SendInput(2, in, sizeof(INPUT)) == 2;
}

// A key pressed with a modifier held (Ctrl+O), to the focused window.
inline bool SendChord(WORD modifier, WORD vk)
{
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = modifier;
    in[1].ki.wVk = in[2].ki.wVk = vk;
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(4, in, sizeof(INPUT)) == 4;
}

// Answers the program's modal boxes from a thread of its own while the UI
// thread is blocked in them, as a user at the screen would:
// - the system's open-file dialog gets the next queued path typed into its
//   file-name box and Open pressed (an empty path presses Cancel);
// - the progress dialog (a box with a progress bar, control 1005) is noted,
//   and its Cancel button (1000) pressed once it is visible if asked;
// - any other box with buttons (message boxes, questions) is noted with its
//   texts and answered with the chosen button.
// Boxes whose owner thread is not the UI thread, the transport panel and
// other boxes without buttons are left alone.
class BoxWatcher {
public:
    struct Seen {
        std::string kind; // "open", "progress", "box"
        std::string title;
        std::vector<std::string> texts;
        bool Mentions(const std::string& s) const
        {
            if (title.find(s) != std::string::npos)
                return true;
            for (const std::string& t : texts)
                if (t.find(s) != std::string::npos)
                    return true;
            return false;
        }
    };

    explicit BoxWatcher(DWORD uiThread) : m_thread(uiThread), m_stop(false), m_worker([this] { Run(); }) {}
    ~BoxWatcher()
    {
        m_stop = true;
        m_worker.join();
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // The path for the next file dialog ("" presses Cancel, kKeepName keeps
    // the name it offers), after choosing its file type (1-based; 0: the
    // type it offers).
    static constexpr const char* kKeepName = "*";
    void QueueFile(const std::string& fullPath, int type = 0)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_files.push_back(fullPath);
        m_types.push_back(type);
    }
    // Windows that must take no input while a box is up (the main window,
    // the panels). LiveUnder names the boxes under which one was enabled;
    // Clear keeps them.
    void WatchHeld(const std::vector<HWND>& windows)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_held = windows;
    }
    std::vector<std::string> LiveUnder() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_liveUnder;
    }
    // The button pressed in message boxes (IDOK, IDYES, IDNO, IDCANCEL).
    void SetAnswer(int id) { m_answer = id; }
    // Press the progress dialog's Cancel once it shows and its bar has
    // reached minPercent (the engine is running from 1 on).
    void SetCancelProgress(bool on, int minPercent = 0)
    {
        m_cancelAt = minPercent;
        m_cancelProgress = on;
    }
    bool CancelPressed() const { return m_cancelPressed; }

    std::vector<Seen> All() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }
    int Count(const std::string& kind) const
    {
        int n = 0;
        for (const Seen& s : All())
            n += s.kind == kind;
        return n;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.clear();
        m_cancelPressed = false;
    }
    // Paths still queued (none once every dialog took its file).
    size_t PendingFiles() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_files.size();
    }

    // The deepest edit control under the file-name box: a combo box (old
    // and new layouts, 0x47C) or a plain edit (0x480).
    static HWND FileNameEdit(HWND dlg)
    {
        // The print dialog's page-range boxes share these numbers; its
        // printer list (0x473) tells it apart.
        if (GetDlgItem(dlg, 0x473))
            return nullptr;
        for (int id : {0x47C, 0x480}) {
            HWND found = nullptr;
            FindCtx ctx{id, &found};
            EnumChildWindows(dlg, &BoxWatcher::FindEdit, (LPARAM)&ctx);
            if (found)
                return found;
        }
        return nullptr;
    }
    // The push button with the id (a toolbar may share IDOK's number).
    static HWND ButtonWithId(HWND dlg, int id)
    {
        HWND found = nullptr;
        FindCtx ctx{id, &found};
        EnumChildWindows(dlg, &BoxWatcher::FindButton, (LPARAM)&ctx);
        return found;
    }

private:
    struct FindCtx {
        int id;
        HWND* out;
    };
    static BOOL CALLBACK FindEdit(HWND w, LPARAM p)
    {
        FindCtx* c = (FindCtx*)p;
        if (GetDlgCtrlID(w) == c->id && ClassOf(w) == "Edit" && IsWindowVisible(w)) {
            *c->out = w;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK FindButton(HWND w, LPARAM p)
    {
        FindCtx* c = (FindCtx*)p;
        if (GetDlgCtrlID(w) == c->id && ClassOf(w) == "Button" && GetParent(w) == GetAncestor(w, GA_ROOT)) {
            *c->out = w;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK CollectTop(HWND w, LPARAM p)
    {
        if (IsWindowVisible(w) && ClassOf(w) == "#32770")
            ((std::vector<HWND>*)p)->push_back(w);
        return TRUE;
    }
    static BOOL CALLBACK CollectTexts(HWND w, LPARAM p)
    {
        if (GetParent(w) == GetAncestor(w, GA_ROOT))
            ((std::vector<std::string>*)p)->push_back(TextOf(w));
        return TRUE;
    }
    static bool HasButtons(HWND dlg)
    {
        for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
            if (ButtonWithId(dlg, id))
                return true;
        return false;
    }

    void Note(HWND w, const char* kind)
    {
        Seen s;
        s.kind = kind;
        s.title = TextOf(w);
        EnumChildWindows(w, &BoxWatcher::CollectTexts, (LPARAM)&s.texts);
        const bool live = LiveUnderBox(w);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (live)
            m_liveUnder.push_back(s.kind + " '" + s.title + "'");
        m_seen.push_back(s);
    }

    // A closing box gives its owner back a moment before it goes (so that
    // the owner is activated): a held window counts as live only while the
    // box stays up with it.
    bool LiveUnderBox(HWND box)
    {
        std::vector<HWND> held;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            held = m_held;
        }
        const DWORD start = GetTickCount();
        for (;;) {
            bool enabled = false;
            for (HWND h : held)
                enabled = enabled || (IsWindow(h) && IsWindowEnabled(h));
            if (!enabled || !IsWindowVisible(box))
                return false;
            if (GetTickCount() - start > 500)
                return true;
            Sleep(10);
        }
    }

    void Press(HWND dlg, int id)
    {
        HWND b = ButtonWithId(dlg, id);
        if (b)
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)b);
        else
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }

    // Types the path into the file-name box and presses Open; true once done.
    bool AnswerFileDialog(HWND dlg)
    {
        std::string path;
        int type = 0;
        HWND types = GetDlgItem(dlg, 0x470);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_files.empty())
                return false; // leave it open: the test is not ready
            // A type is chosen once the box has listed them.
            DWORD_PTR listed = 0;
            if (m_types.front() > 0 &&
                (!types || !SendMessageTimeoutA(types, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &listed) ||
                 (int)listed < m_types.front()))
                return false;
            path = m_files.front();
            m_files.erase(m_files.begin());
            type = m_types.front();
            m_types.erase(m_types.begin());
        }
        Note(dlg, "open");
        if (path.empty()) {
            Press(dlg, IDCANCEL);
            return true;
        }
        if (type > 0) { // as the user picks one
            SendMessageTimeoutA(types, CB_SETCURSEL, type - 1, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
                SendMessageTimeoutA(dlg, WM_COMMAND, MAKEWPARAM(0x470, code), (LPARAM)types, SMTO_ABORTIFHUNG, 5000,
                                    nullptr);
        }
        HWND edit = FileNameEdit(dlg);
        if (edit && path != kKeepName)
            SendMessageTimeoutA(edit, WM_SETTEXT, 0, (LPARAM)path.c_str(), SMTO_ABORTIFHUNG, 5000, nullptr);
        Press(dlg, IDOK);
        return true;
    }

    void Run()
    {
        // Boxes acted on, with the time: one still up 10 s after its answer
        // is answered again with Cancel, so that a test fails instead of
        // hanging in it.
        std::vector<std::pair<HWND, DWORD>> handled;
        HWND progress = nullptr;
        bool cancelDone = false;
        while (!m_stop) {
            std::vector<HWND> tops;
            EnumThreadWindows(m_thread, &BoxWatcher::CollectTop, (LPARAM)&tops);
            if (progress && !IsWindowVisible(progress))
                progress = nullptr;
            for (HWND w : tops) {
                DWORD* answeredAt = nullptr;
                for (auto& h : handled)
                    if (h.first == w)
                        answeredAt = &h.second;
                if (answeredAt) {
                    if (GetTickCount() - *answeredAt > 10000) {
                        Note(w, "stuck");
                        Press(w, IDCANCEL);
                        *answeredAt = GetTickCount();
                    }
                    continue;
                }
                if (FileNameEdit(w)) {
                    if (AnswerFileDialog(w))
                        handled.emplace_back(w, GetTickCount());
                    continue;
                }
                HWND bar = GetDlgItem(w, 1005);
                if (bar && ClassOf(bar) == "msctls_progress32") {
                    if (w != progress) {
                        progress = w;
                        cancelDone = false;
                        Note(w, "progress");
                    }
                    HWND cancel = GetDlgItem(w, 1000);
                    DWORD_PTR pos = 0;
                    SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 1000, &pos);
                    if (m_cancelProgress && !cancelDone && cancel && IsWindowVisible(cancel) &&
                        (int)pos >= m_cancelAt) {
                        PostMessageA(cancel, BM_CLICK, 0, 0);
                        cancelDone = true;
                        m_cancelPressed = true;
                    }
                    continue;
                }
                if (HasButtons(w)) {
                    Note(w, "box");
                    const int answer = m_answer;
                    Press(w, ButtonWithId(w, answer) ? answer : IDOK);
                    handled.emplace_back(w, GetTickCount());
                }
            }
            // Handles of closed boxes may be reused for new ones.
            std::vector<std::pair<HWND, DWORD>> alive;
            for (auto& h : handled)
                if (IsWindow(h.first) && IsWindowVisible(h.first))
                    alive.push_back(h);
            handled.swap(alive);
            Sleep(10);
        }
    }

    DWORD m_thread;
    std::atomic<bool> m_stop;
    std::atomic<int> m_answer{IDOK};
    std::atomic<bool> m_cancelProgress{false};
    std::atomic<bool> m_cancelPressed{false};
    std::atomic<int> m_cancelAt{0};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_files;
    std::vector<int> m_types;
    std::vector<Seen> m_seen;
    std::vector<HWND> m_held;
    std::vector<std::string> m_liveUnder;
    std::thread m_worker;
};

} // namespace progtest
