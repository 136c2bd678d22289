#include "platform/ole/COleDispatchDriver.h"
#include "platform/ole/COleDispatchException.h"

#include <gtest/gtest.h>

namespace {

// An object on the test's stack that only counts references.
class CountingDispatch final : public IDispatch {
  public:
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT Invoke(DISPID, WORD, std::span<const COleVariant>, COleVariant*, EXCEPINFO*) override {
        return S_OK;
    }

    LONG refs = 1;
};

// An assigned or copied driver holds a reference of its own and lets go of the object held
// before; a driver told not to release its object never does. A call without an object
// throws.
TEST(DispatchDriver, HoldsAReferenceOfItsOwnAndReleasesOnlyWhatItOwns) {
    CountingDispatch first, second, borrowed, owned;
    {
        COleDispatchDriver member(&first);
        {
            COleDispatchDriver temporary(&second);
            member = temporary;
            EXPECT_EQ(first.refs, 0);
            member = member;
            EXPECT_EQ(second.refs, 2);
        }
        COleDispatchDriver copy(member);
        EXPECT_EQ(second.refs, 2);
        COleDispatchDriver driver(&borrowed, FALSE);
        driver.ReleaseDispatch();
        EXPECT_EQ(driver.m_lpDispatch, nullptr);
        EXPECT_THROW(driver.InvokeHelper(1, DISPATCH_METHOD, VT_EMPTY), COleDispatchException);
        driver.AttachDispatch(&borrowed, FALSE);
        driver.AttachDispatch(&owned, TRUE);
    }
    EXPECT_EQ(second.refs, 0);
    EXPECT_EQ(borrowed.refs, 1);
    EXPECT_EQ(owned.refs, 0);
}

} // namespace
