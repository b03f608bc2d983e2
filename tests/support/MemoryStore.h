#pragma once

#include <QMap>
#include <QStringList>

#include "records/SettingsStore.h"

namespace softphone::test {

// Settings kept in memory, with a log of deletions.
class MemoryStore : public ISettingsStore {
public:
    QString Read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const override {
        return values.value(app + '/' + section + '/' + key, defaultValue);
    }
    void Write(const QString& app, const QString& section, const QString& key,
               const QString& value) override {
        values[app + '/' + section + '/' + key] = value;
    }
    void Delete(const QString& app) override {
        deleted << app;
        for (auto it = values.begin(); it != values.end();)
            it = it.key().startsWith(app + '/') ? values.erase(it) : std::next(it);
    }
    bool Has(const QString& app) const {
        return values.contains(app + QStringLiteral("/Parameters/Validation"));
    }

    QMap<QString, QString> values;
    QStringList deleted;
};

}  // namespace softphone::test
