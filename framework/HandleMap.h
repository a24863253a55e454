#pragma once
// Maps from system handles to the framework objects that wrap them.
//
// Permanent entries belong to objects that own or subclass their handle and
// are shared by all threads. Temporary wrappers are made on demand for
// handles nobody wraps; they belong to the thread that asked and live until
// that thread's next idle time (AfxDeleteTempMaps).
#include <windows.h>

#include <map>

template <class T, class H>
class CHandleMap {
public:
    static T* LookupPermanent(H h)
    {
        Guard g;
        auto& m = Permanent();
        auto it = m.find(h);
        return it == m.end() ? nullptr : it->second;
    }
    static void SetPermanent(H h, T* p)
    {
        Guard g;
        Permanent()[h] = p;
    }
    // Removes the entry only when it still points at p.
    static void RemovePermanent(H h, T* p)
    {
        Guard g;
        auto& m = Permanent();
        auto it = m.find(h);
        if (it != m.end() && it->second == p)
            m.erase(it);
    }
    static T* LookupTemporary(H h)
    {
        auto* m = Temporary(false);
        if (!m)
            return nullptr;
        auto it = m->find(h);
        return it == m->end() ? nullptr : it->second;
    }
    // The permanent object, else this thread's temporary wrapper, made by
    // make(h) when there is none yet.
    static T* FromHandle(H h, T* (*make)(H))
    {
        if (!h)
            return nullptr;
        if (T* p = LookupPermanent(h))
            return p;
        auto* m = Temporary(true);
        auto it = m->find(h);
        if (it != m->end())
            return it->second;
        T* p = make(h);
        (*m)[h] = p;
        return p;
    }
    // release(p) must drop the handle without destroying it, then delete p.
    static void DeleteTemporary(void (*release)(T*))
    {
        auto* m = Temporary(false);
        if (!m)
            return;
        std::map<H, T*> old;
        old.swap(*m);
        for (auto& e : old)
            release(e.second);
    }

private:
    struct Guard {
        Guard() { EnterCriticalSection(&Lock()); }
        ~Guard() { LeaveCriticalSection(&Lock()); }
    };
    static CRITICAL_SECTION& Lock()
    {
        static struct Cs {
            CRITICAL_SECTION cs;
            Cs() { InitializeCriticalSection(&cs); }
        } s;
        return s.cs;
    }
    static std::map<H, T*>& Permanent()
    {
        static std::map<H, T*> m;
        return m;
    }
    static std::map<H, T*>* Temporary(bool create)
    {
        static thread_local std::map<H, T*>* m = nullptr;
        if (!m && create)
            m = new std::map<H, T*>();
        return m;
    }
};

// Deletes this thread's temporary wrappers (windows, device contexts, GDI
// objects, menus, image lists).
void AfxDeleteTempMaps();
