#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QList>

#include "records/DataFile.h"
#include "records/EntryText.h"

namespace softphone {

// The phone book as its window lists it: row 0 is the place of a new entry ("NEW ITEM!"), rows
// 1 to n the "name--number" lines of PhoneBook.txt in file order, each kept as the bytes the file
// holds. Every change is written at once; a change that cannot be saved is dropped and the rows
// read again from the file, so what is listed is what is stored.
class PhoneBookModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PhoneBookModel(const QString& path = phoneBookPath(), QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The entries' bytes, in file order.
    const QList<QByteArray>& entries() const { return entries_; }
    // Name and number of the entry in `row` (from 1).
    EntryParts parts(int row) const;

    // False when the change could not be saved. Entries added together are one write.
    bool add(const QList<QByteArray>& entries);
    bool replace(int row, const QByteArray& entry);
    bool remove(int row);

private:
    bool save(QList<QByteArray> entries);

    DataFile file_;
    QList<QByteArray> entries_;
};

}  // namespace softphone
