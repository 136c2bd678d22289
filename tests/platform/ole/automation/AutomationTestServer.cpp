// A server program built the way Murmelo is: one static class factory, registered as
// running when the bus starts it with the automation switch, writing its activation file
// when a user starts it, and ending when its last object is released. The tests drive it
// through a bus of their own. "--no-main-window" makes it refuse every creation, as the
// program does before its dialog exists.
#include "platform/ole/AfxOleServer.h"
#include "platform/ole/COleObjectFactory.h"
#include "tests/platform/ole/automation/TestAutomationObject.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

COleObjectFactory factory(CLSID_TestObject, RUNTIME_CLASS(TestAutomationObject), TRUE,
                          "Murmelo.AutomationTest");

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const bool automated = arguments.contains(QStringLiteral("-Automation"));
    const bool noMainWindow = arguments.contains(QStringLiteral("--no-main-window"));

    AfxOleSetUserCtrl(automated ? FALSE : TRUE);
    OleServerState::SetReleaseAllObjectsHook([] { QCoreApplication::quit(); });
    OleServerState::SetCanCreateObjectHook([noMainWindow] { return noMainWindow ? FALSE : TRUE; });

    const BOOL done =
        automated ? COleObjectFactory::RegisterAll() : COleObjectFactory::UpdateRegistryAll();
    // The tests wait for this line before they look at the bus and the files.
    std::printf("%s %s\n", automated ? "registered" : "updated", done ? "ok" : "failed");
    std::fflush(stdout);

    const int result = application.exec();
    COleObjectFactory::RevokeAll();
    return result;
}
