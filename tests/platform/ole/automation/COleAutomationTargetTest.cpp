#include "platform/ole/COleAutomationTarget.h"
#include "platform/ole/StandardIids.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr IID IID_IBase{0x11111111, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr IID IID_IDerived{0x22222222, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 2}};
constexpr IID IID_IOther{0x33333333, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 3}};

// Two levels of interface tables, so the fall-back to the base table is exercised. The
// final release is counted instead of deleting the object.
class BaseTarget : public COleAutomationTarget {
  public:
    explicit BaseTarget(bool automation) {
        if (automation)
            EnableAutomation();
    }
    const AFX_INTERFACEMAP* GetInterfaceMap() const override { return &interfaceMap; }
    void OnFinalRelease() override { ++finalReleases; }

    int finalReleases = 0;

  protected:
    static constexpr std::array<AFX_INTERFACEMAP_ENTRY, 1> interfaceEntries{
        {{&IID_IBase, "Murmelo.IBase"}}};
    static constexpr AFX_INTERFACEMAP interfaceMap{&COleAutomationTarget::interfaceMap,
                                                   interfaceEntries};
};

class DerivedTarget : public BaseTarget {
  public:
    using BaseTarget::BaseTarget;
    const AFX_INTERFACEMAP* GetInterfaceMap() const override { return &interfaceMap; }

  protected:
    static constexpr std::array<AFX_INTERFACEMAP_ENTRY, 1> interfaceEntries{
        {{&IID_IDerived, "Murmelo.IDerived"}}};
    static constexpr AFX_INTERFACEMAP interfaceMap{&BaseTarget::interfaceMap, interfaceEntries};
};

TEST(COleAutomationTargetTest, AnswersToTheInterfacesItsTablesAndAutomationGiveIt) {
    struct Row {
        const char* name;
        const IID& iid;
        bool automation;
        HRESULT expected;
    };
    const Row rows[] = {
        {"IUnknown without automation", IID_IUnknown, false, S_OK},
        {"IDispatch without automation", IID_IDispatch, false, E_NOINTERFACE},
        {"own table without automation", IID_IDerived, false, E_NOINTERFACE},
        {"IUnknown", IID_IUnknown, true, S_OK},
        {"IDispatch", IID_IDispatch, true, S_OK},
        {"own table", IID_IDerived, true, S_OK},
        {"base table", IID_IBase, true, S_OK},
        {"unknown id", IID_IOther, true, E_NOINTERFACE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DerivedTarget target(row.automation);
        EXPECT_EQ(target.ExternalQueryInterface(row.iid), row.expected);
        // A successful query hands out a reference; a failed one does not.
        EXPECT_EQ(target.ExternalRelease(), row.expected == S_OK ? 1u : 0u);
    }
}

TEST(COleAutomationTargetTest, FinalReleaseComesWithTheLastReference) {
    BaseTarget target(true);
    EXPECT_EQ(target.ExternalAddRef(), 2u);
    EXPECT_EQ(target.ExternalRelease(), 1u);
    EXPECT_EQ(target.finalReleases, 0);
    EXPECT_EQ(target.ExternalRelease(), 0u);
    EXPECT_EQ(target.finalReleases, 1);
    // A release too many is not a second final release.
    EXPECT_EQ(target.ExternalRelease(), 0u);
    EXPECT_EQ(target.finalReleases, 1);
}

} // namespace
