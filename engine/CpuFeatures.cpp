#include "CpuFeatures.h"

namespace {
bool g_forceBaseline = false;
}

bool CpuHasAvx2Fma()
{
#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    }();
    return has && !g_forceBaseline;
#else
    return false;
#endif
}

void CpuForceBaseline(bool on) { g_forceBaseline = on; }
