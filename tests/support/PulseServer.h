#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/support/Child.h"

namespace softphone::test {

// A private PulseAudio server with null sinks (the first is the default output; each is
// described by its name), reachable only through a unix socket in a temporary folder.
class PulseServer {
public:
    explicit PulseServer(QStringList sinks = {QStringLiteral("softphone_test_sink")});

    // Starts the server again after Stop, on the same address.
    bool Start();
    void Stop() { server_.End(); }
    bool Running() const { return server_.state() == QProcess::Running; }
    qint64 ProcessId() const { return server_.processId(); }
    // "unix:<dir>/native", for PULSE_SERVER.
    QString Address() const { return "unix:" + dir_.filePath("run/native"); }
    // The monitor of the sink named, or of the first sink.
    QString MonitorName(const QString& sink = {}) const {
        return (sink.isEmpty() ? sinks_.value(0) : sink) + ".monitor";
    }
    // Points this process's sound clients (Qt Multimedia, libpulse, alsa's pulse plugin) at it.
    void UseInThisProcess() const { qputenv("PULSE_SERVER", Address().toUtf8()); }
    // The system environment with the server as the sound server.
    QProcessEnvironment Environment() const;
    // Runs pactl against the server; its output.
    QString Pactl(const QStringList& args) const {
        return Output("pactl", args, nullptr, Environment());
    }

private:
    QTemporaryDir dir_;
    QStringList sinks_;
    Child server_;
};

// Records what one of the server's null sinks plays (by default the first), as 8 kHz mono
// unsigned 8-bit samples in a file. Its 10 ms latency keeps the sink in low-latency mode.
class MonitorRecorder {
public:
    static constexpr int kRate = 8000;

    explicit MonitorRecorder(const PulseServer& server, const QString& sink = {});
    bool Running() const { return recorder_.state() == QProcess::Running; }
    // Samples recorded so far.
    qsizetype Size() const;
    QByteArray Samples(qsizetype from = 0) const;

private:
    QTemporaryDir dir_;
    Child recorder_;
};

}  // namespace softphone::test
