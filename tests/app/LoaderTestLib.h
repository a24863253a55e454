#pragma once
// Exports of the loader test libraries (LoaderTestLib.dll with both library
// exports, LoaderTestNoExport.dll without them). Every event is reported to
// the callback the test installs, so the test sees the order of initialise,
// release and unload.
#include <windows.h>

// event: "GetFinder", "GetQuorvaSound", "Initialize", "SetNotifyWindow",
// "Release", "Detach"; value: the window handle for the first two setters.
typedef void (*LoaderTestLogFn)(const char* event, void* value);
typedef void (*SetLoaderTestLogFn)(LoaderTestLogFn log);
// When set, both exports return null.
typedef void (*SetLoaderTestNullFn)(int returnNull);
