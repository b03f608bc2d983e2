#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace softphone::test {

// A private PulseAudio server with one null sink, reachable only through a unix socket in a
// temporary folder; stopped by its PID when the object goes.
class PulseServer {
public:
    PulseServer();
    ~PulseServer();

    bool Running() const;
    // "unix:<dir>/native", for PULSE_SERVER.
    QString Address() const;
    QString MonitorName() const { return sinkName_ + QStringLiteral(".monitor"); }
    // Points this process's sound clients (Qt Multimedia, libpulse) at the server.
    void UseInThisProcess() const;

private:
    QTemporaryDir dir_;
    QString sinkName_ = QStringLiteral("softphone_test_sink");
    QProcess server_;
};

// Records what the server's null sink plays, as 8 kHz mono unsigned 8-bit samples in a file.
// Its 10 ms latency keeps the sink in low-latency mode.
class MonitorRecorder {
public:
    static constexpr int kRate = 8000;

    explicit MonitorRecorder(const PulseServer& server);
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
