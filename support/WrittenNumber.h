#pragma once

#include <QString>
#include <QStringView>

namespace softphone {

// Why a written number gives nothing to dial.
enum class NumberRefusal {
    None,
    Empty,    // nothing but separators, or a link with no number in it
    Letters,  // a letter or another sign that is no part of a number ("alice@", "1-800-FLOWERS")
    TooLong,  // more than any telephone network dials
};

// What the number field takes from a written number: digits, "*" and "#".
struct CleanNumber {
    QString number;  // empty when refused
    NumberRefusal refusal = NumberRefusal::None;

    explicit operator bool() const { return refusal == NumberRefusal::None; }
};

// The longest result: 15 digits of an international number (E.164) behind an access prefix and a
// service code fit with room to spare.
inline constexpr qsizetype kLongestCleanNumber = 32;

// A number as people write it ("+1 (555) 010-4477", "030/123 45-6") or a tel:, sip:, sips: or
// callto: link whose user part is one, as the number field takes it. Spaces, dashes, dots,
// slashes and parentheses go; a leading "+" becomes `internationalPrefix`, and in such a number a
// written "(0)", the trunk prefix not dialled from abroad, goes too. Percent-escapes are decoded.
// A link's parameters (";ext=", ";isub=", ";phone-context=" and any other) are not dialled: a
// local number is dialled as it stands within its context.
CleanNumber cleanNumber(QStringView written, const QString& internationalPrefix);

}  // namespace softphone
