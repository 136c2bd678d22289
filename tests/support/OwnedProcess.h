#pragma once

#include <QProcess>

// A program a test starts directly; it is killed when the object goes, also when the test
// fails half way.
class OwnedProcess : public QProcess {
  public:
    OwnedProcess(const QString& program, const QStringList& arguments,
                 const QProcessEnvironment& environment) {
        setProcessEnvironment(environment);
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start(program, arguments);
    }
    ~OwnedProcess() override {
        kill();
        waitForFinished();
    }
};
