#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace softphone::test {

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns `done()`.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return done();
}

// Keeps the event loop running for a while (to let late events arrive).
inline void Pump(int ms) {
    WaitUntil([] { return false; }, ms);
}

}  // namespace softphone::test
