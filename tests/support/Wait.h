#pragma once

#include <QTest>
#include <functional>

namespace softphone::test {

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns `done()`.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    return QTest::qWaitFor(done, timeoutMs);
}

// Keeps the event loop running for a while (to let late events arrive).
inline void pump(int ms) { QTest::qWait(ms); }

}  // namespace softphone::test
