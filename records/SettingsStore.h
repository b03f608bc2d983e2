#pragma once

#include <QString>
#include <functional>
#include <memory>

class QSettings;

namespace softphone {

// Per-user string store addressed by application, section and key.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual QString read(const QString& app, const QString& section, const QString& key,
                         const QString& defaultValue = QString()) const = 0;
    virtual void write(const QString& app, const QString& section, const QString& key,
                       const QString& value) = 0;
    // Removes everything stored under the application name.
    virtual void remove(const QString& app) = 0;
};

// INI file $XDG_CONFIG_HOME/Softphone/Softphone.conf. It holds a password, so the file is
// kept at mode 0600 inside a 0700 folder.
class IniSettingsStore : public ISettingsStore {
public:
    explicit IniSettingsStore(QString filePath = defaultPath());
    ~IniSettingsStore() override;
    static QString defaultPath();

    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    void write(const QString& app, const QString& section, const QString& key,
               const QString& value) override;
    void remove(const QString& app) override;

private:
    void store(const std::function<void(QSettings&)>& change);
    QString filePath_;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace softphone
