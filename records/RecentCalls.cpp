#include "records/RecentCalls.h"

#include <algorithm>

#include "records/DataLines.h"
#include "records/EntryText.h"

namespace softphone {

void updateRecentCalls(const QString& number, int hours, int minutes, int seconds,
                       const QString& path) {
    DataFile file(path);
    const std::optional<QList<QByteArray>> old = file.read();
    if (!old) return;
    QList<QByteArray> lines = old->first(std::min<qsizetype>(old->size(), kRecentCallsKept - 1));
    lines.prepend(encodeText(recentCallRecord(number, hours, minutes, seconds)));
    file.write(lines);
}

QList<QByteArray> readRecentCalls(const QString& path) {
    const QList<QByteArray> lines = DataFile(path).read().value_or(QList<QByteArray>());
    return lines.first(std::min<qsizetype>(lines.size(), kRecentCallsKept));
}

QString lastCalledNumber(const QString& path) {
    const QList<QByteArray> records = readRecentCalls(path);
    return records.isEmpty() ? QString() : numberOfRecord(decodeLine(records.first()));
}

}  // namespace softphone
