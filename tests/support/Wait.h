#pragma once

#include <QTest>

namespace softphone::test {

// Runs the event loop until `done` holds or `ms` has passed; returns `done()`.
bool waitUntil(auto done, int ms = 5000) { return QTest::qWaitFor(done, ms); }

// Keeps the event loop running for a while (to let late events arrive).
inline void pump(int ms) { QTest::qWait(ms); }

}  // namespace softphone::test
