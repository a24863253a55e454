#include "SoundLibrary.h"

#include <new>

#include "CdRipper.h"
#include "MediaConvertJob.h"
#include "SourcePath.h"

namespace {
CSoundLibrary* g_instance = nullptr;
HWND g_notifyWnd = nullptr;
} // namespace

extern "C" ISoundLibrary* GetQuorvaSound()
{
    if (!g_instance)
        g_instance = new (std::nothrow) CSoundLibrary();
    return g_instance;
}

CSoundLibrary::CSoundLibrary()
    : m_pRipper(new (std::nothrow) CCdRipper()), m_pJob(new (std::nothrow) CMediaConvertJob())
{
    m_extensions.push_back(new CString(".cda"));
    m_extensions.push_back(new CString(".mp3"));
}

CSoundLibrary::~CSoundLibrary() { FreeMembers(); }

void CSoundLibrary::FreeMembers()
{
    for (CString* s : m_extensions)
        delete s;
    m_extensions.clear();
    delete m_pJob;
    m_pJob = nullptr;
    delete m_pRipper;
    m_pRipper = nullptr;
}

void CSoundLibrary::Release()
{
    if (g_instance == this)
        g_instance = nullptr;
    g_notifyWnd = nullptr;
    delete this;
}

void CSoundLibrary::SetNotifyWindow(HWND notifyWnd) { g_notifyWnd = notifyWnd; }

ISoundLibrary* CSoundLibrary::GetInstance() { return GetQuorvaSound(); }

SoundExtensionList* CSoundLibrary::GetFileExtensions(SoundExtensionList** out)
{
    if (out)
        *out = &m_extensions;
    return &m_extensions;
}

void CSoundLibrary::Convert(CString source, CString target, unsigned int run)
{
    if (IsCdTrackSource(source)) {
        if (m_pRipper)
            m_pRipper->StartRip(g_notifyWnd, source, target, run);
    } else if (m_pJob) {
        m_pJob->Start(g_notifyWnd, source, target, run);
    }
}

CString CSoundLibrary::GetVersion() { return CString("2.0.3"); }
