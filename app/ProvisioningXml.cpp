#include "app/ProvisioningXml.h"

#include <QXmlStreamReader>

#include "app/SipEngine.h"

namespace softphone {
namespace {

const QString kProfileKey = QStringLiteral("7c2e9b14-3a5d-4f86-b0e1-92d4c7a85f30");

// Attribute values are escaped so that any account or password gives well-formed XML.
QString Attr(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
            case '&': out += QLatin1String("&amp;"); break;
            case '<': out += QLatin1String("&lt;"); break;
            case '>': out += QLatin1String("&gt;"); break;
            case '"': out += QLatin1String("&quot;"); break;
            case '\'': out += QLatin1String("&apos;"); break;
            default: out += c;
        }
    }
    return out;
}

QString Server(const QString& server, const QString& role) {
    return QStringLiteral("<sipsrv addr=\"%1\" protocol=\"UDP\" auth=\"digest\" role=\"%2\">"
                          "<session party=\"first\" type=\"pc2ph\" /></sipsrv>")
        .arg(Attr(server), role);
}

[[noreturn]] void Refuse(const QString& why) {
    throw EngineError(kErrorBadProfile, QStringLiteral("Invalid profile: ") + why);
}

}  // namespace

QString BuildProfileXml(const QString& account, const QString& password, const QString& server,
                        const QString& displayName) {
    const QString uri = QStringLiteral("sip:") + account + QLatin1Char('@') + server;
    return QStringLiteral("<provision key=\"%1\" name=\"%2\" expires=\"600\">").arg(kProfileKey,
                                                                                    Attr(account)) +
           QStringLiteral("<user account=\"%1\" name=\"%2\" password=\"%3\" uri=\"%4\" /> ")
               .arg(Attr(account), Attr(displayName), Attr(password), Attr(uri)) +
           Server(server, QStringLiteral("registrar")) + Server(server, QStringLiteral("proxy")) +
           QStringLiteral("<provider calldisplay=\"%1\" /></provision>").arg(Attr(uri));
}

ProvisioningProfile ParseProfileXml(const QString& xml) {
    ProvisioningProfile profile;
    bool haveUser = false;
    bool haveRegistrar = false;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = reader.attributes();
        const auto name = reader.name();
        if (name == QLatin1String("provision")) {
            profile.key = a.value(QLatin1String("key")).toString();
            profile.name = a.value(QLatin1String("name")).toString();
            profile.expires = a.value(QLatin1String("expires")).toInt();
        } else if (name == QLatin1String("user")) {
            haveUser = true;
            profile.account = a.value(QLatin1String("account")).toString();
            profile.displayName = a.value(QLatin1String("name")).toString();
            profile.password = a.value(QLatin1String("password")).toString();
            profile.uri = a.value(QLatin1String("uri")).toString();
        } else if (name == QLatin1String("sipsrv")) {
            const QString role = a.value(QLatin1String("role")).toString();
            const QString addr = a.value(QLatin1String("addr")).toString();
            if (role == QLatin1String("registrar")) {
                haveRegistrar = true;
                profile.registrar = addr;
            } else if (role == QLatin1String("proxy")) {
                profile.proxy = addr;
            }
        }
    }
    if (reader.hasError()) Refuse(reader.errorString());
    if (!haveUser) Refuse(QStringLiteral("no user"));
    if (!haveRegistrar) Refuse(QStringLiteral("no registrar"));
    return profile;
}

}  // namespace softphone
