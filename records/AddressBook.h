#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace softphone {

// A contact as an address book holds it: a name and telephone numbers as written there.
struct Contact {
    struct Phone {
        QString number;  // "+1 (555) 010-4477", "tel:+1-555-010-4477;ext=12", ...
        QString label;   // "mobile", "work", "home fax", ...; empty when the book gives none
    };
    QString name;  // empty when the book gives none
    QList<Phone> phones;
};

// The contacts of a vCard file (2.1, 3.0 or 4.0) or of a contacts CSV file as Google Contacts or
// Outlook export it, in UTF-8, UTF-16 with a byte-order mark, or a Windows code page; none when
// the bytes are neither.
std::optional<QList<Contact>> readAddressBook(QByteArrayView bytes);

// The two readers readAddressBook chooses between.
QList<Contact> readVCards(QByteArrayView bytes);
std::optional<QList<Contact>> readContactsCsv(QStringView text);

// Text of bytes in `charset`, else UTF-8 where they are valid UTF-8, else Windows-1252 (what
// Outlook writes on Western systems).
QString decodeText(QByteArrayView bytes, const QByteArray& charset = QByteArray());

// A number's label from the types an address book gives it ("CELL;VOICE", "work,fax",
// "Business Fax", "* Mobile"): the words it knows, in a fixed order; empty when it knows none.
QString phoneLabel(QStringView types);

// vCard 3.0, one card per contact, lines folded at 75 bytes.
QByteArray vCardsOf(const QList<Contact>& contacts);

}  // namespace softphone
