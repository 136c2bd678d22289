#pragma once

#include "platform/base/CRuntimeClass.h"

// The root of the framework's class tree. Every object of it can say which class it is,
// which is what dynamic creation and the class factories rely on.
class CObject {
  public:
    static constexpr CRuntimeClass classCObject{"CObject", 0xFFFF, nullptr, nullptr};

    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

    BOOL IsKindOf(const CRuntimeClass* pClass) const {
        return GetRuntimeClass()->IsDerivedFrom(pClass) ? TRUE : FALSE;
    }
};
