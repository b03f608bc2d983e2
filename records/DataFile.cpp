#include "records/DataFile.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#include "records/DataLines.h"
#include "support/AppPaths.h"

namespace softphone {
namespace {

// Only a path that names nothing at all counts as missing; anything else that cannot be read
// (no permission, a dangling link, a folder) is kept as it is.
bool missing(const QString& path) {
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT;
}

void createEmpty(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) makeFolder(folder);
    QFile file(path);
    // NewOnly: a file that appeared meanwhile is left alone.
    file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

}  // namespace

QString phoneBookPath() { return dataFolder() + QStringLiteral("/PhoneBook.txt"); }
QString recentCallsPath() { return dataFolder() + QStringLiteral("/recentcall.txt"); }

std::optional<QList<QByteArray>> DataFile::read() {
    read_ = false;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!missing(path_)) return std::nullopt;
        createEmpty(path_);
        read_ = true;
        return QList<QByteArray>();
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    read_ = true;
    return splitLines(bytes);
}

bool DataFile::write(const QList<QByteArray>& lines) {
    if (!read_) return false;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = joinLines(lines);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace softphone
