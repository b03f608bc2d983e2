#include "records/AddressBook.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace softphone {
namespace {

// The words a label can hold, in the order it holds them, and the type names that give each.
struct LabelWord {
    const char* word;
    const char* types;  // separated by spaces
};
constexpr std::array<LabelWord, 8> kLabelWords{{
    {QT_TRANSLATE_NOOP("AddressBook", "home"), "home"},
    {QT_TRANSLATE_NOOP("AddressBook", "work"), "work business"},
    {QT_TRANSLATE_NOOP("AddressBook", "other"), "other"},
    {QT_TRANSLATE_NOOP("AddressBook", "mobile"), "cell mobile iphone"},
    {QT_TRANSLATE_NOOP("AddressBook", "car"), "car"},
    {QT_TRANSLATE_NOOP("AddressBook", "main"), "main primary"},
    {QT_TRANSLATE_NOOP("AddressBook", "fax"), "fax"},
    {QT_TRANSLATE_NOOP("AddressBook", "pager"), "pager"},
}};

bool startsVCard(QByteArrayView bytes) {
    const QByteArrayView start = bytes.trimmed();
    return start.size() >= 11 && start.first(11).compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0;
}

// Backslash, comma, semicolon and line breaks are escaped in vCard text.
QByteArray escaped(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (c == '\\' || c == ',' || c == ';') out.append('\\');
        if (c == '\n') {
            out.append("\\n");
        } else if (c != '\r') {
            out.append(c);
        }
    }
    return out;
}

// Lines of more than 75 bytes go on in lines that start with a space, never inside a character.
QByteArray folded(QByteArray line) {
    QByteArray out;
    qsizetype room = 75;
    while (line.size() > room) {
        qsizetype cut = room;
        while (cut > 1 && (uchar(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.first(cut)).append("\r\n ");
        line.remove(0, cut);
        room = 74;
    }
    return out.append(line).append("\r\n");
}

}  // namespace

QString decodeText(QByteArrayView bytes, const QByteArray& charset) {
    if (!charset.isEmpty()) {
        QStringDecoder named(charset.constData());
        if (named.isValid()) return named.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? QString(windows.decode(bytes)) : QString::fromLatin1(bytes);
}

std::optional<QList<Contact>> readAddressBook(QByteArrayView bytes) {
    QByteArray utf8;
    const std::optional<QStringConverter::Encoding> marked =
        QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8) {
        utf8 = QString(QStringDecoder(*marked).decode(bytes)).toUtf8();
        bytes = utf8;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    if (startsVCard(bytes)) return readVCards(bytes);
    return readContactsCsv(decodeText(bytes));
}

QString phoneLabel(QStringView types) {
    static const QRegularExpression notLetters(QStringLiteral("[^\\p{L}]+"));
    const QStringList given = types.toString().toLower().split(notLetters, Qt::SkipEmptyParts);
    QStringList words;
    for (const LabelWord& word : kLabelWords) {
        const QStringList names = QString::fromLatin1(word.types).split(QLatin1Char(' '));
        if (std::any_of(names.begin(), names.end(),
                        [&](const QString& n) { return given.contains(n); }))
            words << QCoreApplication::translate("AddressBook", word.word);
    }
    return words.join(QLatin1Char(' '));
}

QByteArray vCardsOf(const QList<Contact>& contacts) {
    QByteArray out;
    for (const Contact& contact : contacts) {
        out.append("BEGIN:VCARD\r\nVERSION:3.0\r\n");
        out.append(folded("FN:" + escaped(contact.name)));
        out.append(folded("N:;" + escaped(contact.name) + ";;;"));
        for (const Contact::Phone& phone : contact.phones)
            out.append(folded("TEL;TYPE=VOICE:" + escaped(phone.number)));
        out.append("END:VCARD\r\n");
    }
    return out;
}

}  // namespace softphone
