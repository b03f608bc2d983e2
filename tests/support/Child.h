#pragma once

#include <signal.h>
#include <sys/prctl.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace softphone::test {

// A program the test starts: it dies with the test process, and is stopped by its PID (SIGTERM,
// then SIGKILL) when the object goes or End is called.
class Child : public QProcess {
public:
    Child() {
        setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    }
    Child(const QString& program, const QStringList& args,
          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
        : Child() {
        setProcessEnvironment(env);
        start(program, args);
        waitForStarted(5000);
    }
    ~Child() override { end(); }

    void end() {
        if (state() != NotRunning) terminate();
        if (state() != NotRunning && !waitForFinished(3000)) kill();
        waitForFinished(3000);
    }
};

// What the file at `path` holds; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a short command to its end (60 s at most); what it printed, trimmed.
inline QString output(const QString& program, const QStringList& args, int* exitCode = nullptr,
                      const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    Child command(program, args, env);
    const bool ended =
        command.waitForFinished(60000) && command.exitStatus() == QProcess::NormalExit;
    if (exitCode) *exitCode = ended ? command.exitCode() : -1;
    return QString::fromUtf8(command.readAllStandardOutput()).trimmed();
}

}  // namespace softphone::test
