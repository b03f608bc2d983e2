#include "records/PhoneBookTransfer.h"

#include <QCoreApplication>
#include <QSet>

#include "records/AddressBook.h"
#include "records/DataLines.h"
#include "records/EntryText.h"
#include "support/WrittenNumber.h"

namespace softphone {
namespace {

// An entry is one line: line breaks and other control characters in a name become blanks.
QString oneLine(QString name) {
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control) c = QLatin1Char(' ');
    return name;
}

SkipReason reasonOf(NumberRefusal refusal) {
    switch (refusal) {
        case NumberRefusal::Letters: return SkipReason::Letters;
        case NumberRefusal::TooLong: return SkipReason::TooLong;
        default: return SkipReason::NoNumber;
    }
}

}  // namespace

PhoneBookImport importAddressBook(QByteArrayView file, const QList<QByteArray>& book,
                                  const QString& internationalPrefix) {
    PhoneBookImport result;
    const std::optional<QList<Contact>> contacts = readAddressBook(file);
    if (!contacts) return result;
    result.addressBook = true;
    QSet<QByteArray> known(book.begin(), book.end());
    for (const Contact& contact : *contacts) {
        const QString name = oneLine(contact.name);
        if (contact.phones.isEmpty()) result.skipped.append({name, SkipReason::NoNumber});
        for (const Contact::Phone& phone : contact.phones) {
            const CleanNumber clean = cleanNumber(phone.number, internationalPrefix);
            QString entryName = name.trimmed();
            if (entryName.isEmpty()) entryName = clean ? clean.number : phone.number.trimmed();
            if (contact.phones.size() > 1) {
                const QString label = phone.label.isEmpty()
                                          ? QCoreApplication::translate("AddressBook", "other")
                                          : phone.label;
                entryName = QStringLiteral("%1 (%2)").arg(entryName, label);
            }
            if (!clean) {
                result.skipped.append({entryName, reasonOf(clean.refusal)});
                continue;
            }
            const QByteArray entry = encodeText(buildEntry(entryName, clean.number));
            if (known.contains(entry)) {
                result.skipped.append({entryName, SkipReason::Duplicate});
                continue;
            }
            known.insert(entry);
            result.added.append(entry);
        }
    }
    return result;
}

QString importReport(const PhoneBookImport& import) {
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("AddressBook", text);
    };
    const qsizetype added = import.added.size();
    QString report = (added == 1 ? tr("Imported 1 entry") : tr("Imported %1 entries").arg(added)) +
                     tr(", skipped %1").arg(import.skipped.size());
    const std::pair<SkipReason, const char*> reasons[] = {
        {SkipReason::NoNumber, QT_TRANSLATE_NOOP("AddressBook", "No number")},
        {SkipReason::Letters, QT_TRANSLATE_NOOP("AddressBook", "Letters in the number")},
        {SkipReason::TooLong, QT_TRANSLATE_NOOP("AddressBook", "Number too long")},
        {SkipReason::Duplicate, QT_TRANSLATE_NOOP("AddressBook", "Already in the phone book")},
    };
    constexpr qsizetype kNamesShown = 3;
    QStringList lines;
    for (const auto& [reason, text] : reasons) {
        QStringList names;
        for (const SkippedNumber& skipped : import.skipped)
            if (skipped.reason == reason) names.append(skipped.name);
        if (names.isEmpty()) continue;
        const qsizetype more = names.size() - kNamesShown;
        if (more > 0) names.resize(kNamesShown);
        lines.append(QStringLiteral("%1: %2").arg(tr(text), names.join(QStringLiteral(", "))));
        if (more > 0) lines.last() += tr(" and %1 more").arg(more);
    }
    return lines.isEmpty() ? report : report + QStringLiteral("\n\n") + lines.join('\n');
}

QByteArray exportPhoneBook(const QList<QByteArray>& book) {
    QList<Contact> contacts;
    contacts.reserve(book.size());
    for (const QByteArray& entry : book) {
        const EntryParts parts = cutEntry(decodeLine(entry));
        Contact contact{parts.name, {}};
        if (!parts.number.isEmpty()) contact.phones.append({parts.number, QString()});
        contacts.append(contact);
    }
    return vCardsOf(contacts);
}

}  // namespace softphone
