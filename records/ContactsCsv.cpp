// Contacts as Google Contacts and Outlook export them to CSV: a header row naming the columns, then
// one contact per row, fields quoted as RFC 4180 has it (commas and line breaks inside quotes).
#include <QRegularExpression>
#include <algorithm>

#include "records/AddressBook.h"

namespace softphone {
namespace {

// The telephone columns of Outlook's export; Google's are "Phone N - Value" with its type in
// "Phone N - Type" (older exports) or "Phone N - Label".
const QStringList kOutlookPhones{"Assistant's Phone",
                                 "Business Fax",
                                 "Business Phone",
                                 "Business Phone 2",
                                 "Callback",
                                 "Car Phone",
                                 "Company Main Phone",
                                 "Home Fax",
                                 "Home Phone",
                                 "Home Phone 2",
                                 "ISDN",
                                 "Mobile Phone",
                                 "Other Fax",
                                 "Other Phone",
                                 "Pager",
                                 "Primary Phone",
                                 "Radio Phone",
                                 "TTY/TDD Phone",
                                 "Telex"};
// Whole names; the parts of a name, in the order they are written; organisations.
const QStringList kNames{"Name", "Display Name"};
const QList<QStringList> kNameParts{
    {"First Name", "Given Name"}, {"Middle Name", "Additional Name"}, {"Last Name", "Family Name"}};
const QStringList kOrganisations{"Company", "Organization Name", "Organization 1 - Name"};
// Google puts several numbers of one type into one field.
const QString kGoogleValueSeparator = QStringLiteral(" ::: ");

QList<QStringList> csvRows(QStringView text) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != QLatin1Char('"')) {
                field.append(c);
            } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field.append(c);
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row.append(std::exchange(field, QString()));
        } else if (c == QLatin1Char('\n')) {
            row.append(std::exchange(field, QString()));
            rows.append(std::exchange(row, QStringList()));
        } else if (c != QLatin1Char('\r')) {
            field.append(c);
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) rows.append(row << field);
    return rows;
}

struct PhoneColumn {
    qsizetype value, type;  // type: -1 when the label comes from the column's name
    QString label;
};

struct Columns {
    qsizetype name = -1;
    QList<qsizetype> nameParts, organisations;
    QList<PhoneColumn> phones;
};

Columns columnsOf(QStringList header) {
    for (QString& cell : header) cell = cell.trimmed();
    static const QRegularExpression googleValue(QStringLiteral("^Phone (\\d+) - Value$"));
    Columns columns;
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString& cell = header[i];
        if (const QRegularExpressionMatch google = googleValue.match(cell); google.hasMatch()) {
            const QString type = QStringLiteral("Phone %1 - ").arg(google.captured(1));
            qsizetype typeColumn = header.indexOf(type + QStringLiteral("Type"));
            if (typeColumn < 0) typeColumn = header.indexOf(type + QStringLiteral("Label"));
            columns.phones.append({i, typeColumn, QString()});
        } else if (kOutlookPhones.contains(cell)) {
            columns.phones.append({i, -1, phoneLabel(cell)});
        } else if (kNames.contains(cell) && columns.name < 0) {
            columns.name = i;
        } else if (kOrganisations.contains(cell)) {
            columns.organisations.append(i);
        }
    }
    for (const QStringList& part : kNameParts) {
        for (const QString& name : part)
            if (const qsizetype at = header.indexOf(name); at >= 0) columns.nameParts.append(at);
    }
    return columns;
}

QString joined(const QStringList& row, const QList<qsizetype>& cells) {
    QStringList words;
    for (const qsizetype cell : cells)
        if (!row.value(cell).trimmed().isEmpty()) words << row.value(cell).trimmed();
    return words.join(QLatin1Char(' '));
}

Contact contactOf(const QStringList& row, const Columns& columns) {
    Contact contact;
    contact.name = row.value(columns.name).trimmed();
    if (contact.name.isEmpty()) contact.name = joined(row, columns.nameParts);
    if (contact.name.isEmpty()) contact.name = joined(row, columns.organisations);
    for (const PhoneColumn& column : columns.phones) {
        const QString label = column.type < 0 ? column.label : phoneLabel(row.value(column.type));
        for (const QString& number : row.value(column.value).split(kGoogleValueSeparator))
            if (!number.trimmed().isEmpty()) contact.phones.append({number.trimmed(), label});
    }
    return contact;
}

}  // namespace

std::optional<QList<Contact>> readContactsCsv(QStringView text) {
    const QList<QStringList> rows = csvRows(text);
    if (rows.isEmpty()) return std::nullopt;
    const Columns columns = columnsOf(rows[0]);
    if (columns.phones.isEmpty()) return std::nullopt;
    QList<Contact> contacts;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        if (std::all_of(row.begin(), row.end(),
                        [](const QString& f) { return f.trimmed().isEmpty(); }))
            continue;
        contacts.append(contactOf(row, columns));
    }
    return contacts;
}

}  // namespace softphone
