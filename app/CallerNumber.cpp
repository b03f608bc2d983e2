#include "app/CallerNumber.h"

#include <QUrl>

namespace softphone {

QString callerNumber(const QString& address) {
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (colon < 0 || at <= colon + 1) return address;
    // The user part may carry escaped characters ("%23" for "#"); its parameters are not
    // part of the number.
    const QString user = address.mid(colon + 1, at - colon - 1).section(QLatin1Char(';'), 0, 0);
    return QUrl::fromPercentEncoding(user.toUtf8());
}

}  // namespace softphone
