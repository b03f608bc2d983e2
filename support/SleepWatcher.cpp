#include "support/SleepWatcher.h"

#include <time.h>

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSleep, "softphone.sleep")

namespace softphone {
namespace {

using namespace std::chrono_literals;

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");

// logind waits for a delay lock for up to its InhibitDelayMaxSec (5 s by default); the phone
// takes less.
constexpr auto kSleepDelay = 2s;
constexpr auto kClockCheck = 10s;
// More than timer and scheduling jitter between the two clocks.
constexpr auto kSleepGap = 3s;

std::chrono::nanoseconds readClock(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace

ClockReading readClocks() { return {readClock(CLOCK_BOOTTIME), readClock(CLOCK_MONOTONIC)}; }

bool sleptBetween(const ClockReading& before, const ClockReading& after) {
    return (after.boot - before.boot) - (after.monotonic - before.monotonic) > kSleepGap;
}

SleepWatcher::SleepWatcher(QObject* parent) : QObject(parent) {
    sleepDeadline_.setSingleShot(true);
    sleepDeadline_.setInterval(kSleepDelay);
    connect(&sleepDeadline_, &QTimer::timeout, this, &SleepWatcher::allowSleep);
    connect(&clockCheck_, &QTimer::timeout, this, [this] {
        const ClockReading now = readClocks();
        if (sleptBetween(std::exchange(lastReading_, now), now)) emit wokeUp();
    });
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qCInfo(lcSleep) << "no system bus:" << bus.lastError().message();
        watchClocks();
        return;
    }
    bus.connect(kLogind, kLogindPath, kLogindManager, QStringLiteral("PrepareForSleep"), this,
                SLOT(onPrepareForSleep(bool)));
    takeLock();
}

void SleepWatcher::takeLock() {
    QDBusMessage inhibit =
        QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager, "Inhibit");
    inhibit << QStringLiteral("sleep") << QStringLiteral("Softphone")
            << tr("Hang up the call and sign off at the provider") << QStringLiteral("delay");
    auto* pending =
        new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(inhibit), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, pending] {
        pending->deleteLater();
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *pending;
        if (reply.isValid()) {
            lock_ = reply.value();
            return;
        }
        qCInfo(lcSleep) << "no sleep inhibitor lock:" << reply.error().message();
        watchClocks();
    });
}

void SleepWatcher::watchClocks() {
    if (clockCheck_.isActive()) return;
    lastReading_ = readClocks();
    clockCheck_.start(kClockCheck);
}

void SleepWatcher::onPrepareForSleep(bool sleeping) {
    if (!sleeping) {
        takeLock();
        emit wokeUp();
        return;
    }
    sleepDeadline_.start();
    emit aboutToSleep();
}

void SleepWatcher::allowSleep() {
    sleepDeadline_.stop();
    lock_ = QDBusUnixFileDescriptor();  // the last copy closes the descriptor
}

}  // namespace softphone
