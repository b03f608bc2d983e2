#pragma once

#include <QFileInfo>
#include <QTemporaryDir>

#include "tests/support/Child.h"
#include "tests/support/Wait.h"

namespace softphone::test {

// A private PulseAudio server with null sinks (the first is the default output; each is
// described by its name), reachable only through a unix socket in a temporary folder.
class PulseServer {
public:
    // `source` is the module of its microphone, silent unless given ("module-sine-source").
    explicit PulseServer(QStringList sinks = {QStringLiteral("softphone_test_sink")},
                         QString source = QStringLiteral("module-null-source"))
        : sinks_(std::move(sinks)), source_(std::move(source)) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir_.path());
        env.insert("XDG_RUNTIME_DIR", dir_.path());
        env.insert("PULSE_RUNTIME_PATH", dir_.path());
        env.remove("PULSE_SERVER");
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start();
    }

    // Starts the server again after Stop, on the same address.
    bool start() {
        QFile::remove(dir_.filePath("native"));  // left by a server that was stopped
        QStringList args{"-n", "--daemonize=no", "--log-level=error", "--exit-idle-time=-1",
                         "--use-pid-file=no"};
        for (const QString& sink : sinks_)
            args << "--load=module-null-sink sink_name=" + sink +
                        " sink_properties=device.description=" + sink;
        args << "--load=" + source_ + " source_name=softphone_test_source"
             << "--load=module-native-protocol-unix";
        server_.start("pulseaudio", args);
        return server_.waitForStarted() &&
               waitUntil([&] { return QFileInfo::exists(dir_.filePath("native")) || !running(); },
                         10000) &&
               running();
    }
    void stop() { server_.end(); }
    bool running() const { return server_.state() == QProcess::Running; }
    // "unix:<dir>/native", for PULSE_SERVER.
    QString address() const { return "unix:" + dir_.filePath("native"); }
    // Points this process's sound clients (Qt Multimedia, libpulse, alsa's pulse plugin) at it.
    void useInThisProcess() const { qputenv("PULSE_SERVER", address().toUtf8()); }
    // The system environment with the server as the sound server.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", address());
        return env;
    }
    // Runs pactl against the server; its output.
    QString pactl(const QStringList& args) const {
        return output("pactl", args, nullptr, environment());
    }
    // The monitor of the sink named, or of the first sink.
    QString monitorName(const QString& sink = {}) const {
        return (sink.isEmpty() ? sinks_.value(0) : sink) + ".monitor";
    }
    qint64 processId() const { return server_.processId(); }

private:
    QTemporaryDir dir_;
    QStringList sinks_;
    QString source_;
    Child server_;
};

// Records what one of the server's null sinks plays (by default the first), as 8 kHz mono
// unsigned 8-bit samples in a file. Its 10 ms latency keeps the sink in low-latency mode.
class MonitorRecorder {
public:
    static constexpr int kRate = 8000;

    explicit MonitorRecorder(const PulseServer& server, const QString& sink = {})
        : recorder_("parec",
                    {"--raw", "--format=u8", "--rate=8000", "--channels=1", "--latency-msec=10",
                     "-d", server.monitorName(sink), filePath()},
                    server.environment()) {}
    bool running() const { return recorder_.state() == QProcess::Running; }
    // Samples recorded so far.
    qsizetype size() const { return QFileInfo(filePath()).size(); }
    // Read from `from` on: the tests poll a recording that grows all through them.
    QByteArray samples(qsizetype from = 0) const {
        QFile file(filePath());
        return file.open(QIODevice::ReadOnly) && file.seek(from) ? file.readAll() : QByteArray();
    }

private:
    QString filePath() const { return dir_.filePath("monitor.raw"); }
    QTemporaryDir dir_;
    Child recorder_;
};

}  // namespace softphone::test
