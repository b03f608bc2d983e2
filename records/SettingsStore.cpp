#include "records/SettingsStore.h"

#include <sys/stat.h>

#include <QFileInfo>
#include <QSettings>

#include "support/AppPaths.h"

namespace softphone {
namespace {

QString keyPath(const QString& app, const QString& section, const QString& key) {
    return app + QLatin1Char('/') + section + QLatin1Char('/') + key;
}

}  // namespace

IniSettingsStore::IniSettingsStore(QString filePath)
    : filePath_(std::move(filePath)),
      settings_(std::make_unique<QSettings>(filePath_, QSettings::IniFormat)) {}

// QSettings writes its changes out from the event loop, and at the latest here.
IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::defaultPath() {
    return configFolder() + QStringLiteral("/Softphone.conf");
}

QString IniSettingsStore::read(const QString& app, const QString& section, const QString& key,
                               const QString& defaultValue) const {
    const QVariant value = settings_->value(keyPath(app, section, key));
    // Anything that is not a plain string (hand-edited garbage) reads as the default.
    if (!value.isValid() || value.typeId() != QMetaType::QString) return defaultValue;
    return value.toString();
}

void IniSettingsStore::write(const QString& app, const QString& section, const QString& key,
                             const QString& value) {
    store([&](QSettings& s) { s.setValue(keyPath(app, section, key), value); });
}

void IniSettingsStore::remove(const QString& app) {
    store([&](QSettings& s) { s.remove(app); });
}

void IniSettingsStore::store(const std::function<void(QSettings&)>& change) {
    makeFolder(QFileInfo(filePath_).absolutePath(), 0700);
    const QByteArray path = QFile::encodeName(filePath_);
    // Create the file private before the first byte of a password goes into it.
    if (!QFileInfo::exists(filePath_)) {
        QFile file(filePath_);
        if (file.open(QIODevice::WriteOnly)) file.close();
    }
    // The rewrite replaces the file with one that keeps these permissions.
    ::chmod(path.constData(), 0600);
    change(*settings_);
}

}  // namespace softphone
