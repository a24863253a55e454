#pragma once
// A message-only window that records what is posted to it, for tests of code
// that reports by PostMessage.
#include <windows.h>

#include <vector>

struct PostedMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageSink {
public:
    MessageSink()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &MessageSink::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuorvaTestMessageSink";
        RegisterClassA(&wc); // fails harmlessly when already registered
        m_hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~MessageSink() { DestroyWindow(m_hwnd); }
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;

    HWND hwnd() const { return m_hwnd; }

    // Dispatches everything queued for this thread.
    void Pump()
    {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }

    // Pumps until pred() holds or the time runs out; returns pred().
    template <class Pred>
    bool PumpUntil(Pred pred, DWORD timeoutMs)
    {
        DWORD start = GetTickCount();
        for (;;) {
            Pump();
            if (pred())
                return true;
            if (GetTickCount() - start > timeoutMs)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    std::vector<PostedMessage> messages;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l)
    {
        MessageSink* self = (MessageSink*)GetWindowLongPtrA(h, GWLP_USERDATA);
        if (self && msg >= WM_USER)
            self->messages.push_back({msg, w, l});
        return DefWindowProcA(h, msg, w, l);
    }
    HWND m_hwnd;
};
