// vCard 2.1, 3.0 (RFC 2426) and 4.0 (RFC 6350): the names and telephone numbers of the cards.
#include <utility>

#include "records/AddressBook.h"
#include "support/HexEscapes.h"

namespace softphone {
namespace {

// One content line, "[group.]NAME;KEY=VALUE;BARE:value". A bare parameter (vCard 2.1's "CELL",
// "QUOTED-PRINTABLE") has an empty key.
struct Property {
    QByteArray name;
    QList<std::pair<QByteArray, QByteArray>> parameters;  // keys in upper case
    QByteArrayView value;

    bool has(QByteArrayView key, QByteArrayView value) const {
        for (const auto& [k, v] : parameters)
            if ((k.isEmpty() || k == key) && v.compare(value, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }
    QByteArray parameter(QByteArrayView key) const {
        for (const auto& [k, v] : parameters)
            if (k == key) return v;
        return {};
    }
    // TYPE values and bare parameters, joined by commas.
    QString types() const {
        QByteArray all;
        for (const auto& [k, v] : parameters)
            if (k.isEmpty() || k == "TYPE") all += v + ',';
        return QString::fromLatin1(all);
    }
};

// Positions of `separator` outside double quotes (vCard 4.0 quotes parameter values).
QList<qsizetype> cutsOutsideQuotes(QByteArrayView text, char separator, bool firstOnly) {
    QList<qsizetype> cuts;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"') quoted = !quoted;
        if (text[i] == separator && !quoted) {
            cuts << i;
            if (firstOnly) break;
        }
    }
    return cuts;
}

std::optional<Property> parseProperty(QByteArrayView line) {
    const QList<qsizetype> colon = cutsOutsideQuotes(line, ':', true);
    if (colon.isEmpty()) return std::nullopt;
    Property property;
    property.value = line.sliced(colon[0] + 1);
    const QByteArrayView head = line.first(colon[0]);
    QList<qsizetype> cuts = cutsOutsideQuotes(head, ';', false);
    cuts << head.size();
    const QByteArrayView name = head.first(cuts[0]);
    property.name = name.sliced(name.lastIndexOf('.') + 1).toByteArray().toUpper();
    for (qsizetype i = 0; i + 1 < cuts.size(); ++i) {
        const QByteArrayView piece = head.sliced(cuts[i] + 1, cuts[i + 1] - cuts[i] - 1);
        const qsizetype equals = piece.indexOf('=');
        QByteArray value = piece.sliced(equals + 1).toByteArray();
        value.replace('"', QByteArray());
        property.parameters.append(
            {equals < 0 ? QByteArray() : piece.first(equals).toByteArray().toUpper(), value});
    }
    return property;
}

bool isQuotedPrintable(const Property& property) {
    return property.has("ENCODING", "QUOTED-PRINTABLE");
}

QString textOf(const Property& property) {
    return decodeText(isQuotedPrintable(property) ? fromHexEscapes(property.value, '=')
                                                  : property.value.toByteArray(),
                      property.parameter("CHARSET"));
}

// Components at unescaped semicolons, with "\\", "\,", "\;" and "\n" undone.
QStringList components(QStringView text) {
    QStringList parts(1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(';')) {
            parts.append(QString());
        } else if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text[++i];
            parts.last().append(next == QLatin1Char('n') || next == QLatin1Char('N')
                                    ? QChar(QLatin1Char('\n'))
                                    : next);
        } else {
            parts.last().append(c);
        }
    }
    return parts;
}

QString unescaped(QStringView text) { return components(text).join(QLatin1Char(';')); }

// "N" is family; given; additional; prefixes; suffixes.
QString nameOfParts(const QStringList& n) {
    QStringList words;
    for (const int part : {3, 1, 2, 0, 4})
        if (!n.value(part).trimmed().isEmpty()) words << n.value(part).trimmed();
    return words.join(QLatin1Char(' '));
}

class CardReader {
public:
    void take(QByteArrayView line) {
        const std::optional<Property> property = parseProperty(line);
        if (!property) return;
        const bool card = property->value.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0;
        if (property->name == "BEGIN" && card) {
            if (depth_++ == 0) begin();
        } else if (property->name == "END" && card && depth_ > 0) {
            if (--depth_ == 0) end();
        } else if (depth_ == 1) {  // not an agent's card inside this one
            takeProperty(*property);
        }
    }
    // Continuation lines of vCard 2.1 keep their leading blank; later versions drop it.
    bool keepsFoldingBlank() const { return version21_; }
    QList<Contact> finish() {
        if (depth_ > 0) end();  // a file cut short still gives its last card
        return std::move(contacts_);
    }

private:
    void begin() {
        contact_ = {};
        nameParts_.clear();
        version21_ = false;
    }
    void end() {
        if (contact_.name.trimmed().isEmpty()) contact_.name = nameOfParts(nameParts_);
        contact_.name = contact_.name.trimmed();
        contacts_.append(std::move(contact_));
        depth_ = 0;
    }
    void takeProperty(const Property& property) {
        if (property.name == "VERSION") {
            version21_ = property.value.trimmed() == "2.1";
        } else if (property.name == "FN") {
            contact_.name = unescaped(textOf(property));
        } else if (property.name == "N") {
            nameParts_ = components(textOf(property));
        } else if (property.name == "TEL") {
            contact_.phones.append(
                {unescaped(textOf(property)).trimmed(), phoneLabel(property.types())});
        }
    }

    QList<Contact> contacts_;
    Contact contact_;
    QStringList nameParts_;
    int depth_ = 0;
    bool version21_ = false;
};

}  // namespace

QList<Contact> readVCards(QByteArrayView bytes) {
    CardReader reader;
    QByteArray line;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        QByteArrayView next = bytes.sliced(start, end - start);
        if (next.endsWith('\r')) next.chop(1);
        start = end + 1;
        if (!line.isEmpty() && (next.startsWith(' ') || next.startsWith('\t'))) {
            line += reader.keepsFoldingBlank() ? next : next.sliced(1);
            continue;
        }
        // Quoted-printable values go on after a line that ends in "=" (a soft line break).
        if (line.endsWith('=')) {
            const std::optional<Property> property = parseProperty(line);
            if (property && isQuotedPrintable(*property)) {
                line.chop(1);
                line += next;
                continue;
            }
        }
        reader.take(line);
        line = next.toByteArray();
    }
    reader.take(line);
    return reader.finish();
}

}  // namespace softphone
