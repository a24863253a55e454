// Storage for the media-format interface identifiers that no import
// library provides.
#include <windows.h>
#include <initguid.h>
#include <wmsdkidl.h>
