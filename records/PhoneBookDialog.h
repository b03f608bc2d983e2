#pragma once

#include <QDialog>
#include <optional>

#include "records/DataFile.h"

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace softphone {

class IMessageBox;
class PhoneBookModel;
class PictureButton;

// The phone book window over its model: the entry selected in the list shows in the boxes; ADD,
// EDIT and DELETE change the book; CALL closes it with the number box's text as the chosen
// number. Import... (Ctrl+I, or a .vcf or .csv file dropped onto the window) adds an address
// book's numbers, cleaned with `internationalPrefix`; Export... (Ctrl+E) writes the book as
// vCards. Both are in the window's context menu.
class PhoneBookDialog : public QDialog {
    Q_OBJECT
public:
    explicit PhoneBookDialog(IMessageBox& messages, QWidget* parent = nullptr,
                             const QString& path = phoneBookPath(),
                             const QString& internationalPrefix = QStringLiteral("00"));
    // The number CALL chose; none when the dialog was closed otherwise.
    const std::optional<QString>& chosenNumber() const { return chosen_; }

    // What Import... and Export... do with the file the user chose.
    void importFile(const QString& path);
    void exportTo(const QString& path);

    QListView* entryList;
    QLineEdit *nameBox, *numberField;
    QPushButton *addButton, *callButton, *deleteButton, *editButton;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildTransferActions();
    int currentRow() const;
    void formInitialState();
    void onEntrySelected(int row);
    void onAddClicked();
    void onEditClicked();
    void onDeleteClicked();
    void onCallClicked();
    bool boxesFilled();
    QByteArray entryFromBoxes() const;
    void changed(bool saved);

    IMessageBox& messages_;
    PhoneBookModel* book_;
    QString internationalPrefix_;
    std::optional<QString> chosen_;
};

}  // namespace softphone
