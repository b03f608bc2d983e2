#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace softphone {

// Data files are 8-bit text: each line is kept as the bytes the file holds, so a rewrite
// carries every other line through unchanged whatever its encoding.

// Splits at LF, dropping a CR directly before it; a last line without a line end still counts.
QList<QByteArray> splitLines(QByteArrayView bytes);

// CRLF after every line, the last included.
QByteArray joinLines(const QList<QByteArray>& lines);

// Display text of a line and bytes of typed text, in the locale's codec (UTF-8 here).
QString decodeLine(const QByteArray& line);
QByteArray encodeText(const QString& text);

// A list row shows a few dozen characters; lines of more than four times this many bytes are
// shown cut to about this many characters and "…" (laying out a megabyte of text takes seconds),
// while their bytes are kept whole.
inline constexpr qsizetype kShownLineLength = 1000;
QString shownLine(const QByteArray& line);

}  // namespace softphone
