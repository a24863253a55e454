#pragma once
// Helpers of the framework's window tests.
#include <windows.h>

#include <string>

// Watches a thread's windows from another thread and dismisses the first
// message box that appears (posting IDOK), remembering its text.
class MessageBoxDismisser {
public:
    // ignore: a dialog under test, known before the watching starts (set
    // later, the watcher could take the dialog for a box and press its OK).
    explicit MessageBoxDismisser(DWORD uiThread, HWND ignore = nullptr)
        : m_uiThread(uiThread), m_stop(false), m_ignore(ignore), m_count(0)
    {
        m_thread = CreateThread(nullptr, 0, &MessageBoxDismisser::Run, this, 0, nullptr);
    }
    ~MessageBoxDismisser()
    {
        m_stop = true;
        WaitForSingleObject(m_thread, 10000);
        CloseHandle(m_thread);
    }
    MessageBoxDismisser(const MessageBoxDismisser&) = delete;
    MessageBoxDismisser& operator=(const MessageBoxDismisser&) = delete;

    int Count() const { return m_count; }
    std::string Text() const { return m_text; }

private:
    struct Find {
        MessageBoxDismisser* self;
        HWND found;
    };
    static BOOL CALLBACK EnumTop(HWND h, LPARAM lp)
    {
        Find* f = reinterpret_cast<Find*>(lp);
        char cls[32] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (h != f->self->m_ignore && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(h)) {
            f->found = h;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK EnumChild(HWND h, LPARAM lp)
    {
        std::string* text = reinterpret_cast<std::string*>(lp);
        char cls[32] = {};
        GetClassNameA(h, cls, sizeof cls);
        char buf[512] = {};
        if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(h, buf, sizeof buf) > 0) {
            *text = buf;
            return FALSE;
        }
        return TRUE;
    }
    static DWORD WINAPI Run(LPVOID p)
    {
        MessageBoxDismisser* self = static_cast<MessageBoxDismisser*>(p);
        HWND last = nullptr;
        while (!self->m_stop) {
            Find f = {self, nullptr};
            EnumThreadWindows(self->m_uiThread, &EnumTop, (LPARAM)&f);
            if (f.found && f.found != last) {
                std::string text;
                EnumChildWindows(f.found, &EnumChild, (LPARAM)&text);
                self->m_text = text;
                last = f.found;
                ++self->m_count;
                PostMessageA(f.found, WM_COMMAND, IDOK, 0);
            }
            Sleep(20);
        }
        return 0;
    }

    DWORD m_uiThread;
    volatile bool m_stop;
    volatile HWND m_ignore;
    volatile int m_count;
    std::string m_text;
    HANDLE m_thread;
};

// Dispatches what is queued for this thread.
inline void PumpPending()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}
