#pragma once

#include <QString>

namespace softphone {

// Phone-book entries are "name--number"; call records are "number--Duration: h:m:s".
inline const QString kEntrySeparator = QStringLiteral("--");

struct EntryParts {
    QString name, number;
};

// Name and number with leading and trailing blanks removed, joined by "--".
QString buildEntry(const QString& name, const QString& number);

// The pieces before and after the last "--" (a number holds none, a name may); a text without
// "--" gives the whole text as name and no number.
EntryParts cutEntry(const QString& entry);

QString recentCallRecord(const QString& number, int hours, int minutes, int seconds);

// The text before the first "--", or the whole text without one.
QString numberOfRecord(const QString& record);

}  // namespace softphone
