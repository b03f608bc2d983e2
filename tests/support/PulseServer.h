#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace softphone::test {

// A private PulseAudio server with null sinks (the first is the default output; each is
// described by its name), reachable only through a unix socket in a temporary folder; stopped
// by its PID when the object goes.
class PulseServer {
public:
    explicit PulseServer(QStringList sinks = {QStringLiteral("softphone_test_sink")});
    ~PulseServer();

    // Starts the server again after Stop, on the same address.
    bool Start();
    void Stop();
    bool Running() const;
    qint64 ProcessId() const { return server_.processId(); }
    // "unix:<dir>/native", for PULSE_SERVER.
    QString Address() const;
    // The monitor of the sink named, or of the first sink.
    QString MonitorName(const QString& sink = QString()) const;
    // Points this process's sound clients (Qt Multimedia, libpulse) at the server.
    void UseInThisProcess() const;

private:
    QTemporaryDir dir_;
    QStringList sinks_;
    QProcess server_;
};

// Records what one of the server's null sinks plays (by default the first), as 8 kHz mono
// unsigned 8-bit samples in a file. Its 10 ms latency keeps the sink in low-latency mode.
class MonitorRecorder {
public:
    static constexpr int kRate = 8000;

    explicit MonitorRecorder(const PulseServer& server, const QString& sink = QString());
    ~MonitorRecorder();

    bool Running() const;
    // Samples recorded so far.
    qsizetype Size() const;
    QByteArray Samples(qsizetype from = 0) const;

private:
    QTemporaryDir dir_;
    QString file_;
    QProcess recorder_;
};

}  // namespace softphone::test
