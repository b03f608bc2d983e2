#include "support/AppPaths.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>

namespace softphone {
namespace {

QString XdgFolder(const char* variable, const char* fallbackUnderHome) {
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
    return base + QStringLiteral("/Softphone");
}

}  // namespace

QString ConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }
QString DataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }
QString EngineFolder() { return DataFolder() + QStringLiteral("/engine"); }

QString InstalledDataFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QLatin1String(SOFTPHONE_DATA_FROM_BIN));
}

bool MakeFolder(const QString& path, int mode) {
    if (!QDir().mkpath(path)) return false;
    return ::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)) == 0;
}

}  // namespace softphone
