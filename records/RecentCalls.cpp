#include "records/RecentCalls.h"

#include <algorithm>

#include "records/DataLines.h"
#include "records/EntryText.h"

namespace softphone {

void UpdateRecentCalls(const QString& number, int hours, int minutes, int seconds,
                       const QString& path) {
    DataFile file(path);
    const std::optional<QList<QByteArray>> old = file.Read();
    if (!old) return;
    QList<QByteArray> lines = old->first(std::min<qsizetype>(old->size(), kRecentCallsKept - 1));
    lines.prepend(EncodeText(RecentCallRecord(number, hours, minutes, seconds)));
    file.Write(lines);
}

QList<QByteArray> ReadRecentCalls(const QString& path) {
    const QList<QByteArray> lines = DataFile(path).Read().value_or(QList<QByteArray>());
    return lines.first(std::min<qsizetype>(lines.size(), kRecentCallsKept));
}

}  // namespace softphone
