#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace softphone {

// Why a number of an address book did not become a phone-book entry.
enum class SkipReason { NoNumber, Letters, TooLong, Duplicate };

struct SkippedNumber {
    QString name;  // the entry's name it would have had
    SkipReason reason;
};

// What importing an address book adds to a phone book.
struct PhoneBookImport {
    bool addressBook = false;  // false: the file is no vCard or contacts CSV, nothing is added
    QList<QByteArray> added;   // new "name--number" entries, in the file's order
    QList<SkippedNumber> skipped;
};

// Each telephone number of each contact of `file` (see readAddressBook) as one entry, named by
// the contact ("Name") or, for a contact with several numbers, by the contact and the number's
// label ("Name (mobile)"); numbers cleaned with `internationalPrefix` for a written "+". A
// contact without a number, a number that cleans to nothing, and an entry already in `book` or
// added before are skipped with their reason. A contact without a name is named by its number.
PhoneBookImport importAddressBook(QByteArrayView file, const QList<QByteArray>& book,
                                  const QString& internationalPrefix);

// What an import did, for the box that ends it: "Imported N entries, skipped M", then each
// reason with the first names it kept out.
QString importReport(const PhoneBookImport& import);

// The phone book's entries as vCard 3.0, one card per entry, which importAddressBook reads back
// to the same entries.
QByteArray exportPhoneBook(const QList<QByteArray>& book);

}  // namespace softphone
