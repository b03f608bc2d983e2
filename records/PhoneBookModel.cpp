#include "records/PhoneBookModel.h"

#include "records/DataLines.h"

namespace softphone {

PhoneBookModel::PhoneBookModel(const QString& path, QObject* parent)
    : QAbstractListModel(parent),
      file_(path),
      entries_(file_.read().value_or(QList<QByteArray>())) {}

int PhoneBookModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(entries_.size()) + 1;
}

QVariant PhoneBookModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() > entries_.size()) return {};
    if (index.row() == 0) return tr("NEW ITEM!");
    return shownLine(entries_[index.row() - 1]);
}

EntryParts PhoneBookModel::parts(int row) const {
    return cutEntry(decodeLine(entries_.value(row - 1)));
}

bool PhoneBookModel::add(const QList<QByteArray>& entries) { return save(entries_ + entries); }

bool PhoneBookModel::replace(int row, const QByteArray& entry) {
    if (row < 1 || row > entries_.size()) return false;
    QList<QByteArray> entries = entries_;
    entries[row - 1] = entry;
    return save(entries);
}

bool PhoneBookModel::remove(int row) {
    if (row < 1 || row > entries_.size()) return false;
    QList<QByteArray> entries = entries_;
    entries.removeAt(row - 1);
    return save(entries);
}

bool PhoneBookModel::save(QList<QByteArray> entries) {
    const bool saved = file_.write(entries);
    beginResetModel();
    entries_ = saved ? std::move(entries) : file_.read().value_or(QList<QByteArray>());
    endResetModel();
    return saved;
}

}  // namespace softphone
