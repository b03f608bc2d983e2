#pragma once

#include <QString>

namespace softphone {

// The account as the provisioning XML describes it.
struct ProvisioningProfile {
    QString key;
    QString name;
    int expires = 0;
    QString account;
    QString displayName;
    QString password;
    QString uri;
    QString registrar;  // server address of the UDP registrar, as typed (may carry a port)
    QString proxy;
};

QString BuildProfileXml(const QString& account, const QString& password, const QString& server,
                        const QString& displayName);

// Throws EngineError for XML that is malformed or lacks the user or registrar.
ProvisioningProfile ParseProfileXml(const QString& xml);

}  // namespace softphone
