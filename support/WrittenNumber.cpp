#include "support/WrittenNumber.h"

#include <array>

#include "support/HexEscapes.h"

namespace softphone {
namespace {

enum class Scheme { None, Tel, Sip, Callto };

constexpr std::array<std::pair<QLatin1StringView, Scheme>, 4> kSchemes{{
    {QLatin1StringView("tel:"), Scheme::Tel},
    {QLatin1StringView("sip:"), Scheme::Sip},
    {QLatin1StringView("sips:"), Scheme::Sip},
    {QLatin1StringView("callto:"), Scheme::Callto},
}};

Scheme takeScheme(QStringView& text) {
    for (const auto& [name, scheme] : kSchemes) {
        if (text.startsWith(name, Qt::CaseInsensitive)) {
            text = text.sliced(name.size());
            return scheme;
        }
    }
    return Scheme::None;
}

// The part of a link that holds the number: a SIP address's user part without its password, a
// callto: link without the "//" some pages write, and no parameters. Null when there is none.
QStringView numberPart(QStringView text, Scheme scheme) {
    if (scheme == Scheme::None) return text;
    if (scheme == Scheme::Sip) {
        const qsizetype at = text.indexOf(QLatin1Char('@'));
        if (at < 0) return {};
        text = text.left(at);
        text = text.left(text.indexOf(QLatin1Char(':')));
    }
    if (scheme == Scheme::Callto && text.startsWith(QLatin1StringView("//"))) text = text.sliced(2);
    return text.left(text.indexOf(QLatin1Char(';')));
}

// Spaces (also the no-break ones web pages use), every kind of dash, and the rest of RFC 3966's
// visual separators and the slash.
bool isSeparator(QChar c) {
    return c.isSpace() || c.category() == QChar::Punctuation_Dash || c == QLatin1Char('.') ||
           c == QLatin1Char('/') || c == QLatin1Char('(') || c == QLatin1Char(')');
}

CleanNumber refused(NumberRefusal why) { return {QString(), why}; }

}  // namespace

CleanNumber cleanNumber(QStringView written, const QString& internationalPrefix) {
    QStringView text = written.trimmed();
    const Scheme scheme = takeScheme(text);
    const QStringView part = numberPart(text, scheme);
    if (part.isNull()) return refused(NumberRefusal::Empty);
    QString number = part.contains(QLatin1Char('%'))
                         ? QString::fromUtf8(fromHexEscapes(part.toUtf8(), '%'))
                         : part.toString();

    qsizetype first = 0;
    while (first < number.size() && isSeparator(number[first])) ++first;
    const bool international = first < number.size() && number[first] == QLatin1Char('+');
    if (international) {
        number.remove(0, first + 1);
        number.replace(QLatin1StringView("(0)"), QString());
    }

    QString digits = international ? internationalPrefix : QString();
    bool anyDigit = false;
    for (const QChar c : number) {
        if (c.isDigit()) {
            digits.append(QChar(u'0' + c.digitValue()));
            anyDigit = true;
        } else if (c == QLatin1Char('*') || c == QLatin1Char('#')) {
            digits.append(c);
            anyDigit = true;
        } else if (!isSeparator(c)) {
            return refused(NumberRefusal::Letters);
        }
    }
    if (!anyDigit) return refused(NumberRefusal::Empty);
    if (digits.size() > kLongestCleanNumber) return refused(NumberRefusal::TooLong);
    return {digits, NumberRefusal::None};
}

}  // namespace softphone
