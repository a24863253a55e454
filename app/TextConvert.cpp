#include "TextConvert.h"

#include <climits>
#include <cstdio>
#include <cstring>

int ParseLeadingInt(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long v = 0;
    while (*p >= '0' && *p <= '9') {
        if (v <= (long long)INT_MAX + 1)
            v = v * 10 + (*p - '0');
        ++p;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return (int)v;
}

CString FormatWithOneInt(const char* pattern, int value)
{
    CString out;
    bool used = false;
    const char* p = pattern;
    while (*p) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            p += 2;
            continue;
        }
        // Parse %[flags][width][length]conv without trusting any of it.
        const char* q = p + 1;
        while (*q && std::strchr("-+ 0#", *q))
            ++q;
        const char* widthStart = q;
        while (*q >= '0' && *q <= '9')
            ++q;
        const char* widthEnd = q;
        while (*q == 'l' || *q == 'h')
            ++q;
        char conv = *q;
        bool isInt = conv && std::strchr("diuxX", conv) != nullptr;
        if (used || !isInt || widthEnd - widthStart > 3) {
            // Not ours to fill: keep the '%' literally and go on after it.
            out += *p++;
            continue;
        }
        // Rebuild a spec from the checked flags and width only.
        char spec[16];
        int n = 0;
        spec[n++] = '%';
        for (const char* f = p + 1; f < widthEnd && n < 12; ++f)
            spec[n++] = *f;
        spec[n++] = conv;
        spec[n] = 0;
        char buf[64];
        if (conv == 'd' || conv == 'i')
            std::snprintf(buf, sizeof buf, spec, value);
        else
            std::snprintf(buf, sizeof buf, spec, (unsigned)value);
        out += buf;
        used = true;
        p = q + 1;
    }
    return out;
}

CString FillInText(const char* pattern, const char* text)
{
    CString out;
    bool used = false;
    for (const char* p = pattern; *p;) {
        if (p[0] == '%' && p[1] == '%') {
            out += '%';
            p += 2;
        } else if (p[0] == '%' && p[1] == 's' && !used) {
            out += text;
            used = true;
            p += 2;
        } else {
            out += *p++;
        }
    }
    return out;
}
