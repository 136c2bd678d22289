// What the class factory publishes: the proxy's class, its interfaces and its tables.
#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/StandardIids.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A proxy of the test's own, released when the test ends.
struct ProxyReleaser {
    void operator()(CMurmeloDlgAutoProxy* proxy) const { proxy->ExternalRelease(); }
};
using ProxyRef = std::unique_ptr<CMurmeloDlgAutoProxy, ProxyReleaser>;

ProxyRef CreateProxy() {
    return ProxyRef(
        dynamic_cast<CMurmeloDlgAutoProxy*>(RUNTIME_CLASS(CMurmeloDlgAutoProxy)->CreateObject()));
}

TEST(MurmeloAutoProxy, FactoryPublishesTheProxyAsASingleUseClass) {
    const COleObjectFactory& factory = CMurmeloDlgAutoProxy::factory;
    EXPECT_EQ(factory.GetProgID(), "Murmelo.Application");
    EXPECT_EQ(factory.GetClassID(), CMurmeloDlgAutoProxy::guid);
    EXPECT_EQ(factory.GetRuntimeClass(), RUNTIME_CLASS(CMurmeloDlgAutoProxy));
    EXPECT_EQ(factory.IsMultiInstance(), TRUE);
    EXPECT_FALSE(CMurmeloDlgAutoProxy::guid == IID_IMurmelo);
}

TEST(MurmeloAutoProxy, RecordCreatesACommandTargetOfTheProxyClass) {
    const ProxyRef proxy = CreateProxy();
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->GetRuntimeClass(), RUNTIME_CLASS(CMurmeloDlgAutoProxy));
    EXPECT_TRUE(proxy->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_STREQ(RUNTIME_CLASS(CMurmeloDlgAutoProxy)->m_lpszClassName, "CMurmeloDlgAutoProxy");
    EXPECT_EQ(RUNTIME_CLASS(CMurmeloDlgAutoProxy)->m_wSchema, 0xFFFFu);
}

TEST(MurmeloAutoProxy, AnswersToItsOwnInterfaceAndTheStandardOnesOnly) {
    const ProxyRef proxy = CreateProxy();
    EXPECT_TRUE(proxy->HasInterface(IID_IMurmelo));
    EXPECT_TRUE(proxy->HasInterface(IID_IDispatch));
    EXPECT_TRUE(proxy->HasInterface(IID_IUnknown));
    EXPECT_FALSE(proxy->HasInterface(CMurmeloDlgAutoProxy::guid));
}

TEST(MurmeloAutoProxy, DispatchTableKnowsNoMemberAndFallsBackToTheCommandTarget) {
    const ProxyRef proxy = CreateProxy();
    const AFX_DISPMAP* map = proxy->GetDispatchMap();
    const AFX_DISPMAP* last = map;
    for (; map != nullptr; map = map->pBaseMap) {
        EXPECT_TRUE(map->entries.empty());
        last = map;
    }
    CCmdTarget& base = *proxy;
    EXPECT_EQ(last, base.CCmdTarget::GetDispatchMap());
    EXPECT_NE(proxy->GetDispatchMap(), last) << "the proxy has no table of its own";
}

} // namespace
