#include "tests/support/PulseServer.h"

#include <signal.h>
#include <sys/prctl.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace softphone::test {

namespace {

constexpr int kStartTimeoutMs = 10000;

// Children must not outlive a test that crashes.
void DieWithParent() {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
}

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

}  // namespace

PulseServer::PulseServer(QStringList sinks) : sinks_(std::move(sinks)) {
    const QString home = dir_.filePath(QStringLiteral("home"));
    const QString run = dir_.filePath(QStringLiteral("run"));
    QDir().mkpath(home);
    QDir().mkpath(run);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), run);
    env.remove(QStringLiteral("PULSE_SERVER"));
    server_.setProcessEnvironment(env);
    server_.setChildProcessModifier(DieWithParent);
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.setStandardOutputFile(QProcess::nullDevice());
    Start();
}

bool PulseServer::Start() {
    const QString socket = dir_.filePath(QStringLiteral("run/native"));
    QFile::remove(socket);  // left by a server that was stopped
    QStringList args{"-n", "--daemonize=no", "--log-level=error", "--exit-idle-time=-1",
                     "--use-pid-file=no"};
    for (const QString& sink : sinks_)
        args << "--load=module-null-sink sink_name=" + sink +
                    " sink_properties=device.description=" + sink;
    args << "--load=module-null-source source_name=softphone_test_source"
         << "--load=module-native-protocol-unix";
    server_.start(QStringLiteral("pulseaudio"), args);
    if (!server_.waitForStarted()) return false;
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(socket) && Running() && clock.elapsed() < kStartTimeoutMs)
        QThread::msleep(20);
    return QFileInfo::exists(socket) && Running();
}

void PulseServer::Stop() {
    test::Stop(server_);
}

PulseServer::~PulseServer() {
    Stop();
}

bool PulseServer::Running() const {
    return server_.state() == QProcess::Running;
}

QString PulseServer::Address() const {
    return QStringLiteral("unix:") + dir_.filePath(QStringLiteral("run/native"));
}

QString PulseServer::MonitorName(const QString& sink) const {
    return (sink.isEmpty() ? sinks_.value(0) : sink) + QStringLiteral(".monitor");
}

void PulseServer::UseInThisProcess() const {
    qputenv("PULSE_SERVER", Address().toUtf8());
}

MonitorRecorder::MonitorRecorder(const PulseServer& server, const QString& sink)
    : file_(dir_.filePath(QStringLiteral("monitor.raw"))) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), server.Address());
    recorder_.setProcessEnvironment(env);
    recorder_.setChildProcessModifier(DieWithParent);
    recorder_.setStandardOutputFile(file_);
    recorder_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    recorder_.start(QStringLiteral("parec"),
                    {"--raw", "--format=u8", "--rate=" + QString::number(kRate), "--channels=1",
                     "--latency-msec=10", "-d", server.MonitorName(sink)});
    recorder_.waitForStarted();
}

MonitorRecorder::~MonitorRecorder() {
    Stop(recorder_);
}

bool MonitorRecorder::Running() const {
    return recorder_.state() == QProcess::Running;
}

qsizetype MonitorRecorder::Size() const {
    return QFileInfo(file_).size();
}

QByteArray MonitorRecorder::Samples(qsizetype from) const {
    QFile file(file_);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from)) return {};
    return file.readAll();
}

}  // namespace softphone::test
