#pragma once
// Where the decoder gets its synchronous media reader. The runtime's
// WMCreateSyncReader is bound when first needed (there is no import
// library for it); tests put an in-process reader in its place.
#include <windows.h>
#include <wmsdkidl.h>

typedef HRESULT (*SyncReaderFactoryFn)(IWMSyncReader** reader);

// Makes a reader through the current factory.
HRESULT CreateSyncReader(IWMSyncReader** reader);

// Replaces the factory; nullptr restores the runtime's. Returns the one
// it replaces. Not for use while a conversion runs.
SyncReaderFactoryFn SetSyncReaderFactory(SyncReaderFactoryFn factory);
