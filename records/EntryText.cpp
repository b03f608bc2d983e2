#include "records/EntryText.h"

namespace softphone {
namespace {

// Only blanks are removed; tabs and other white space belong to the text.
QString trimBlanks(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' ')) ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' ')) --end;
    return text.sliced(begin, end - begin);
}

}  // namespace

QString buildEntry(const QString& name, const QString& number) {
    return trimBlanks(name) + kEntrySeparator + trimBlanks(number);
}

EntryParts cutEntry(const QString& entry) {
    const qsizetype last = entry.lastIndexOf(kEntrySeparator);
    if (last < 0) return {entry, QString()};
    return {entry.left(last), entry.sliced(last + kEntrySeparator.size())};
}

QString recentCallRecord(const QString& number, int hours, int minutes, int seconds) {
    return number + QStringLiteral("--Duration: ") + QString::number(hours) + QLatin1Char(':') +
           QString::number(minutes) + QLatin1Char(':') + QString::number(seconds);
}

QString numberOfRecord(const QString& record) {
    const qsizetype first = record.indexOf(kEntrySeparator);
    return first < 0 ? record : record.left(first);
}

}  // namespace softphone
