#include "tests/automation/MurmeloServerTest.h"

#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/GuidString.h"

namespace {

QProcessEnvironment Variables(const char* platform, const std::string& display) {
    QProcessEnvironment variables;
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
    variables.insert(QStringLiteral("MURMELO_AUDIO"), QStringLiteral("null"));
    variables.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display));
    return variables;
}

} // namespace

QString IidMurmelo() {
    return QString::fromStdString(StringFromGUID(IID_IMurmelo));
}

MurmeloServerTest::MurmeloServerTest(const char* platform, const std::string& display)
    : AutomationServerFixture(QStringLiteral(MURMELO_PROGRAM), kProgId,
                              Variables(platform, display)) {}
