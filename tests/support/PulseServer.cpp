#include "tests/support/PulseServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tests/support/Wait.h"

namespace softphone::test {

PulseServer::PulseServer(QStringList sinks) : sinks_(std::move(sinks)) {
    QDir().mkpath(dir_.filePath("home"));
    QDir().mkpath(dir_.filePath("run"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir_.filePath("home"));
    env.insert("XDG_RUNTIME_DIR", dir_.filePath("run"));
    env.insert("PULSE_RUNTIME_PATH", dir_.filePath("run"));
    env.remove("PULSE_SERVER");
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.setStandardOutputFile(QProcess::nullDevice());
    Start();
}

bool PulseServer::Start() {
    const QString socket = dir_.filePath("run/native");
    QFile::remove(socket);  // left by a server that was stopped
    QStringList args{"-n", "--daemonize=no", "--log-level=error", "--exit-idle-time=-1",
                     "--use-pid-file=no"};
    for (const QString& sink : sinks_)
        args << "--load=module-null-sink sink_name=" + sink +
                    " sink_properties=device.description=" + sink;
    args << "--load=module-null-source source_name=softphone_test_source"
         << "--load=module-native-protocol-unix";
    server_.start("pulseaudio", args);
    return server_.waitForStarted() &&
           WaitUntil([&] { return QFileInfo::exists(socket) || !Running(); }, 10000) && Running();
}

QProcessEnvironment PulseServer::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", Address());
    return env;
}

MonitorRecorder::MonitorRecorder(const PulseServer& server, const QString& sink) {
    recorder_.setProcessEnvironment(server.Environment());
    recorder_.setStandardOutputFile(dir_.filePath("monitor.raw"));
    recorder_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    recorder_.start("parec", {"--raw", "--format=u8", "--rate=" + QString::number(kRate),
                              "--channels=1", "--latency-msec=10", "-d", server.MonitorName(sink)});
    recorder_.waitForStarted();
}

qsizetype MonitorRecorder::Size() const { return QFileInfo(dir_.filePath("monitor.raw")).size(); }

QByteArray MonitorRecorder::Samples(qsizetype from) const {
    QFile file(dir_.filePath("monitor.raw"));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from)) return {};
    return file.readAll();
}

}  // namespace softphone::test
