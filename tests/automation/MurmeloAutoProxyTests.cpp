// What the class factory publishes: the proxy's class and the interfaces it answers to.
#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/StandardIids.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(MurmeloAutoProxy, FactoryPublishesASingleUseProxyWithItsInterfaces) {
    const COleObjectFactory& factory = CMurmeloDlgAutoProxy::factory;
    EXPECT_EQ(factory.GetProgID(), "Murmelo.Application");
    EXPECT_EQ(factory.GetClassID(), CMurmeloDlgAutoProxy::guid);
    EXPECT_EQ(factory.IsMultiInstance(), TRUE);
    EXPECT_FALSE(CMurmeloDlgAutoProxy::guid == IID_IMurmelo);

    // Made as the factory makes it, through the run-time class record.
    CObject* object = factory.GetRuntimeClass()->CreateObject();
    const std::unique_ptr<CMurmeloDlgAutoProxy, void (*)(CMurmeloDlgAutoProxy*)> proxy(
        dynamic_cast<CMurmeloDlgAutoProxy*>(object),
        [](CMurmeloDlgAutoProxy* p) { p->ExternalRelease(); });
    ASSERT_NE(proxy, nullptr);
    EXPECT_TRUE(proxy->HasInterface(IID_IMurmelo));
    EXPECT_TRUE(proxy->HasInterface(IID_IDispatch));
    EXPECT_TRUE(proxy->HasInterface(IID_IUnknown));
    EXPECT_FALSE(proxy->HasInterface(CMurmeloDlgAutoProxy::guid));
}

} // namespace
