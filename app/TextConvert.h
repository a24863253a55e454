#pragma once
// Small text conversions shared by the language table, the settings file and
// the library loaders. Portable.

#include "framework/CString.h"

// Converts like atoi (leading blanks, optional sign, digits up to the first
// non-digit, 0 without digits) but saturates at the int range instead of
// overflowing.
int ParseLeadingInt(const char* text);

// Fills a message template that comes from an editable file and promises one
// integer: the first integer conversion (%d, %i, %u, %x, %X, with optional
// flags, width and length letters) receives value, "%%" becomes "%", and
// every other % sequence is copied as it stands, so no template can make the
// formatter read arguments that were never passed.
CString FormatWithOneInt(const char* pattern, int value);

// Fills a message template from an editable file that promises one text:
// the first "%s" receives text, "%%" becomes "%", every other "%" stays as
// it is. Language texts are never handed to a formatter.
CString FillInText(const char* pattern, const char* text);
