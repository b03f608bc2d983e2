#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace softphone {

QString phoneBookPath();    // DataFolder()/PhoneBook.txt
QString recentCallsPath();  // DataFolder()/recentcall.txt

// One data file, read whole and rewritten whole.
class DataFile {
public:
    explicit DataFile(QString path) : path_(std::move(path)) {}

    // A missing file is created empty and reads as no lines. A file that exists but cannot be
    // read gives nothing, and writes stay refused until a later read succeeds: writing then
    // would replace lines nobody has seen.
    std::optional<QList<QByteArray>> read();

    // Replaces the content through a new file renamed over the old one, so the file holds the
    // old or the new lines whatever happens; on failure the old content stays.
    bool write(const QList<QByteArray>& lines);

    const QString& path() const { return path_; }

private:
    QString path_;
    bool read_ = false;
};

}  // namespace softphone
