#include "SyncReaderFactory.h"

#include <atomic>

#include "FileReadStream.h"

namespace {
typedef HRESULT(WINAPI* WMCreateSyncReaderFn)(IUnknown* cert, DWORD rights, IWMSyncReader** reader);

HRESULT CreateRuntimeSyncReader(IWMSyncReader** reader)
{
    // The runtime stays loaded for the rest of the process: readers it made
    // may still be released after the last conversion.
    static std::atomic<WMCreateSyncReaderFn> s_create{nullptr};
    WMCreateSyncReaderFn create = s_create.load();
    if (!create) {
        HMODULE module = LoadLibraryA("wmvcore.dll");
        if (!module)
            return HResultFromLastError();
        create = (WMCreateSyncReaderFn)(void*)GetProcAddress(module, "WMCreateSyncReader");
        if (!create) {
            HRESULT hr = HResultFromLastError();
            FreeLibrary(module);
            return hr;
        }
        s_create.store(create);
    }
    return create(nullptr, 0, reader);
}

std::atomic<SyncReaderFactoryFn> g_factory{&CreateRuntimeSyncReader};
} // namespace

HRESULT CreateSyncReader(IWMSyncReader** reader)
{
    *reader = nullptr;
    return g_factory.load()(reader);
}

SyncReaderFactoryFn SetSyncReaderFactory(SyncReaderFactoryFn factory)
{
    return g_factory.exchange(factory ? factory : &CreateRuntimeSyncReader);
}
