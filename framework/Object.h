#pragma once
// Root of the framework's class tree: run-time class information, creation
// by class and serialisation. Portable (no windows.h).

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)(); // null: not creatable by class
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const; // null when not creatable
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    // Creatable classes registered so far, by name; null when unknown.
    static const CRuntimeClass* FromName(const char* name);
};

// Registers a creatable class for FromName at static initialisation.
struct CClassRegistration {
    explicit CClassRegistration(const CRuntimeClass* cls);
};

class CObject {
public:
    virtual ~CObject() {}
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* cls) const;
    virtual void Serialize(CArchive& ar);

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* ThisClass() { return &classCObject; }

protected:
    CObject() {}

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(name) (&name::class##name)

#define DECLARE_DYNAMIC(name)                                            \
public:                                                                  \
    static const CRuntimeClass class##name;                              \
    static const CRuntimeClass* ThisClass() { return &class##name; }     \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(name) \
    DECLARE_DYNAMIC(name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(name, base, create)                                         \
    const CRuntimeClass name::class##name = {#name, static_cast<int>(sizeof(name)), create, \
                                             RUNTIME_CLASS(base)};                         \
    const CRuntimeClass* name::GetRuntimeClass() const { return RUNTIME_CLASS(name); }

#define IMPLEMENT_DYNAMIC(name, base) IMPLEMENT_RUNTIMECLASS_(name, base, nullptr)

#define IMPLEMENT_DYNCREATE(name, base)                          \
    CObject* name::CreateObject() { return new name; }           \
    IMPLEMENT_RUNTIMECLASS_(name, base, name::CreateObject)      \
    static CClassRegistration s_register##name(RUNTIME_CLASS(name));

// Like dynamic_cast, checked against the run-time class information.
template <class T>
T* DynamicDowncast(CObject* p)
{
    return (p && p->IsKindOf(T::ThisClass())) ? static_cast<T*>(p) : nullptr;
}

// Exceptions of the framework, thrown by pointer and freed with Delete():
//   try { ... } catch (CException* e) { e->Delete(); }
class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() {}
    void Delete() { delete this; }
    // A text for the user; 0 when there is none.
    virtual int GetErrorMessage(char* lpszError, unsigned nMaxError, unsigned* pnHelpContext = nullptr);
};
