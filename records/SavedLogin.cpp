#include "records/SavedLogin.h"

#include "records/SettingsStore.h"

namespace softphone {
namespace {

const QString kAccount = QStringLiteral("Account");
const QString kPassword = QStringLiteral("Password");
const QString kSip = QStringLiteral("Sip");
const QString kSave = QStringLiteral("Save");

QString readValue(const ISettingsStore& store, const QString& app) {
    return store.read(app, QStringLiteral("Parameters"), QStringLiteral("Validation"), QString());
}

void writeValue(ISettingsStore& store, const QString& app, const QString& value) {
    store.write(app, QStringLiteral("Parameters"), QStringLiteral("Validation"), value);
}

}  // namespace

SavedLogin SavedLogin::read(const ISettingsStore& store) {
    SavedLogin login{readValue(store, kAccount), readValue(store, kPassword),
                     readValue(store, kSip), std::nullopt};
    const QString save = readValue(store, kSave);
    if (save == QLatin1String("yes")) login.save = true;
    if (save == QLatin1String("no")) login.save = false;
    return login;
}

void SavedLogin::write(ISettingsStore& store) const {
    writeValue(store, kPassword, password);
    writeValue(store, kAccount, account);
    writeValue(store, kSip, sip);
    if (save) writeValue(store, kSave, *save ? QStringLiteral("yes") : QStringLiteral("no"));
}

void forgetUnsavedLogin(ISettingsStore& store) {
    if (SavedLogin::read(store).save != false) return;
    for (const QString& app : {kPassword, kAccount, kSip})
        if (!readValue(store, app).isEmpty()) store.remove(app);
}

}  // namespace softphone
