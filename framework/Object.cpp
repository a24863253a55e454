#include "Object.h"

#include <cstdio>
#include <cstring>

namespace {
// Fixed-size list: registration runs during static initialisation, before
// any container could be relied on.
const CRuntimeClass* g_classes[512];
int g_classCount = 0;
}

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* name)
{
    if (!name)
        return nullptr;
    for (int i = 0; i < g_classCount; ++i)
        if (std::strcmp(g_classes[i]->m_lpszClassName, name) == 0)
            return g_classes[i];
    return nullptr;
}

CClassRegistration::CClassRegistration(const CRuntimeClass* cls)
{
    if (g_classCount < static_cast<int>(sizeof(g_classes) / sizeof(g_classes[0])))
        g_classes[g_classCount++] = cls;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

bool CObject::IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

void CObject::Serialize(CArchive&) {}

IMPLEMENT_DYNAMIC(CException, CObject)

int CException::GetErrorMessage(char* lpszError, unsigned nMaxError, unsigned* pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = 0;
    return 0;
}
