#pragma once

#include "platform/base/WinTypes.h"

#include <new>

class CObject;

// What the program knows about a class at run time: its name, its schema number, its base
// class and, for a dynamically creatable class, the function that makes a new object of it.
// A class factory creates every object it serves through this record.
struct CRuntimeClass {
    const char* m_lpszClassName = nullptr;
    UINT m_wSchema = 0xFFFF;
    CObject* (*m_pfnCreateObject)() = nullptr;
    const CRuntimeClass* m_pBaseClass = nullptr;

    // A new object of the class, or null when the class is not creatable or no memory is
    // left. The caller owns the object.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
        for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
            if (p == pBaseClass)
                return true;
        }
        return false;
    }

    // The creation function of a default-constructible class T. A failed allocation yields
    // null and constructs nothing, so the caller can report it instead of dying.
    template <class T>
    static CObject* Construct() {
        return new (std::nothrow) T;
    }
};

// The run-time class record of a class that declares one, as a pointer.
#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)
