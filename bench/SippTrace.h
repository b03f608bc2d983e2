#pragma once

#include <QDateTime>
#include <QRegularExpression>
#include <QString>

namespace softphone::bench {

// Wall-clock time (ms) of the first trace entry after `afterMs` whose message starts with
// `firstLine`.
inline double traceTimeMs(const QString& trace, const QString& firstLine, double afterMs = 0) {
    static const QRegularExpression entry(QStringLiteral(
        "-+ (\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)\\.(\\d{6})\\n[^\\n]*\\n\\n([^\\n]*)"));
    for (auto it = entry.globalMatch(trace); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(3).startsWith(firstLine)) continue;
        const QDateTime t =
            QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const double ms = t.toMSecsSinceEpoch() + m.captured(2).toDouble() / 1000.0;
        if (ms > afterMs) return ms;
    }
    return -1;
}

}  // namespace softphone::bench
