#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "records/DataFile.h"

namespace softphone {

// The call history keeps this many records, newest first.
inline constexpr int kRecentCallsKept = 5;

// Puts "number--Duration: h:m:s" at the top of the history; the oldest record beyond five
// falls off. Failures leave the file as it was and are not reported (the call goes on ending).
void updateRecentCalls(const QString& number, int hours, int minutes, int seconds,
                       const QString& path = recentCallsPath());

// The newest records, in file order; a missing file is created empty.
QList<QByteArray> readRecentCalls(const QString& path = recentCallsPath());

// The number of the newest record; empty with none.
QString lastCalledNumber(const QString& path = recentCallsPath());

}  // namespace softphone
