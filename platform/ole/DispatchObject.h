#pragma once

#include "platform/ole/IDispatch.h"

#include <atomic>

// Reference counting for automation objects implemented in this process. Objects are
// created with one reference, for their creator, and delete themselves at zero. The count
// is atomic because the speech runtime's worker thread may hold references too.
class DispatchObject : public IDispatch {
  public:
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

  protected:
    DispatchObject() = default;
    virtual ~DispatchObject() = default;

  private:
    std::atomic<ULONG> m_refs{1};
};
