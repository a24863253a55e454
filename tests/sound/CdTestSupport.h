#pragma once
// What the CD ripper tests need besides a disc image: a CD-ROM drive letter
// under Wine, and a closer for the ripper's message boxes.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Defines or removes a Wine drive letter of a given kind through the mount
// manager's drive-definition control (the one Wine's configuration tool
// uses); the manager records it as a dosdevices link and a value under
// HKLM\Software\Wine\Drives.
class WineDrive {
public:
    // Makes letter a CD-ROM drive whose root is the Windows folder dir.
    static bool DefineCdrom(char letter, const std::string& dir)
    {
        std::string unixPath = UnixPath(dir);
        return !unixPath.empty() && Define(letter, kCdrom, unixPath);
    }
    static bool Remove(char letter) { return Define(letter, 0, ""); }

private:
    static const ULONG kCdrom = 5;
    struct Request {
        ULONG size;
        ULONG type;
        ULONG fsType;
        DWORD serial;
        ULONGLONG unixDev;
        WCHAR letter;
        USHORT mountPointOffset;
        USHORT deviceOffset;
        USHORT labelOffset;
    };

    static std::string UnixPath(const std::string& dir)
    {
        typedef char*(CDECL * ToUnix)(LPCWSTR);
        ToUnix toUnix = (ToUnix)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
        if (!toUnix)
            return "";
        WCHAR wide[MAX_PATH];
        if (!MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, wide, MAX_PATH))
            return "";
        char* p = toUnix(wide);
        if (!p)
            return "";
        std::string out = p;
        HeapFree(GetProcessHeap(), 0, p);
        return out;
    }

    static bool Define(char letter, ULONG type, const std::string& mountPoint)
    {
        std::vector<char> buf(sizeof(Request) + mountPoint.size() + 1, 0);
        Request* r = reinterpret_cast<Request*>(buf.data());
        r->size = (ULONG)buf.size();
        r->type = type;
        r->letter = (WCHAR)(letter - 'A' + 'a');
        r->mountPointOffset = mountPoint.empty() ? 0 : (USHORT)sizeof(Request);
        memcpy(buf.data() + sizeof(Request), mountPoint.c_str(), mountPoint.size() + 1);
        HANDLE mgr = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (mgr == INVALID_HANDLE_VALUE)
            return false;
        DWORD got = 0;
        BOOL ok = DeviceIoControl(mgr, CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS),
                                  buf.data(), (DWORD)buf.size(), nullptr, 0, &got, nullptr);
        CloseHandle(mgr);
        return ok != FALSE;
    }
};

// Watches for message boxes of this process, records caption and text, and
// presses OK, so that code showing a modal box can run unattended.
class BoxCloser {
public:
    struct Box {
        std::string caption;
        std::string text;
    };

    BoxCloser() : m_stop(false), m_thread([this] { Run(); }) {}
    ~BoxCloser()
    {
        m_stop = true;
        m_thread.join();
    }
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    std::vector<Box> Boxes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }

private:
    void Run()
    {
        while (!m_stop) {
            EnumWindows(&BoxCloser::OnWindow, (LPARAM)this);
            Sleep(10);
        }
    }

    static BOOL CALLBACK OnWindow(HWND wnd, LPARAM self)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        char cls[16] = {};
        GetClassNameA(wnd, cls, sizeof cls);
        if (pid == GetCurrentProcessId() && strcmp(cls, "#32770") == 0 && IsWindowVisible(wnd))
            ((BoxCloser*)self)->Close(wnd);
        return TRUE;
    }

    static BOOL CALLBACK OnChild(HWND child, LPARAM text)
    {
        char cls[16] = {};
        GetClassNameA(child, cls, sizeof cls);
        char buf[1024] = {};
        if (_stricmp(cls, "Static") == 0 && GetWindowTextA(child, buf, sizeof buf) > 0)
            *(std::string*)text += buf;
        return TRUE;
    }

    void Close(HWND box)
    {
        if (std::find(m_closed.begin(), m_closed.end(), box) == m_closed.end()) {
            Box b;
            char caption[256] = {};
            GetWindowTextA(box, caption, sizeof caption);
            b.caption = caption;
            EnumChildWindows(box, &BoxCloser::OnChild, (LPARAM)&b.text);
            // Read again on the next round until the box has its texts.
            if (b.caption.empty() || b.text.empty())
                return;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_boxes.push_back(b);
            m_closed.push_back(box);
        }
        // Pressed again on every round until the box has gone.
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }

    std::atomic<bool> m_stop;
    std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::vector<HWND> m_closed;
    std::thread m_thread;
};
