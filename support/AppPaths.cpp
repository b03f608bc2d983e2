#include "support/AppPaths.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>

namespace softphone {
namespace {

QString xdgFolder(const char* variable, const char* fallbackUnderHome) {
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
    return base + QStringLiteral("/Softphone");
}

}  // namespace

QString configFolder() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }
QString dataFolder() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }
QString engineFolder() { return dataFolder() + QStringLiteral("/engine"); }

QString installedDataFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QLatin1String(SOFTPHONE_DATA_FROM_BIN));
}

bool makeFolder(const QString& path, int mode) {
    if (!QDir().mkpath(path)) return false;
    return ::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)) == 0;
}

}  // namespace softphone
