#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QTimer>
#include <chrono>

namespace softphone {

// CLOCK_BOOTTIME and CLOCK_MONOTONIC, read together.
struct ClockReading {
    std::chrono::nanoseconds boot{}, monotonic{};
};
ClockReading readClocks();

// Whether the machine slept between two readings: the boot clock counts a suspend, the monotonic
// clock does not, and neither follows a step of the wall clock (NTP).
bool sleptBetween(const ClockReading& before, const ClockReading& after);

// Tells when the machine is about to sleep and when it woke. With systemd-logind on the system
// bus, a delay inhibitor lock holds the sleep back until the phone allows it (or 2 s have
// passed), and is taken again on waking. Without logind, a sleep is noticed only afterwards,
// from the clocks.
class SleepWatcher : public QObject {
    Q_OBJECT
public:
    explicit SleepWatcher(QObject* parent = nullptr);

public slots:
    // The phone told the server all it must: the machine may sleep now.
    void allowSleep();

signals:
    void aboutToSleep();
    void wokeUp();

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    void takeLock();
    void watchClocks();

    QDBusUnixFileDescriptor lock_;
    QTimer sleepDeadline_;
    QTimer clockCheck_;
    ClockReading lastReading_;
};

}  // namespace softphone
