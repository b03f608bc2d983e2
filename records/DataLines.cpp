#include "records/DataLines.h"

namespace softphone {

QList<QByteArray> splitLines(QByteArrayView bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        qsizetype lineEnd = end;
        if (end < bytes.size() && lineEnd > start && bytes[lineEnd - 1] == '\r') --lineEnd;
        lines.append(bytes.sliced(start, lineEnd - start).toByteArray());
        start = end + 1;
    }
    return lines;
}

QByteArray joinLines(const QList<QByteArray>& lines) {
    qsizetype size = 0;
    for (const QByteArray& line : lines) size += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (const QByteArray& line : lines) {
        bytes.append(line);
        bytes.append("\r\n", 2);
    }
    return bytes;
}

QString decodeLine(const QByteArray& line) { return QString::fromLocal8Bit(line); }

QByteArray encodeText(const QString& text) { return text.toLocal8Bit(); }

QString shownLine(const QByteArray& line) {
    constexpr qsizetype kShownBytes = kShownLineLength * 4;
    if (line.size() <= kShownBytes) return decodeLine(line);
    QString text = decodeLine(line.left(kShownBytes));
    if (text.size() > kShownLineLength) {
        text.truncate(kShownLineLength);
        if (text.back().isHighSurrogate()) text.chop(1);
    }
    return text + QChar(0x2026);
}

}  // namespace softphone
