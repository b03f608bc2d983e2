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
// number.
class PhoneBookDialog : public QDialog {
    Q_OBJECT
public:
    explicit PhoneBookDialog(IMessageBox& messages, QWidget* parent = nullptr,
                             const QString& path = phoneBookPath());
    // The number CALL chose; none when the dialog was closed otherwise.
    const std::optional<QString>& chosenNumber() const { return chosen_; }

    QListView* entryList;
    QLineEdit *nameBox, *numberField;
    QPushButton *addButton, *callButton, *deleteButton, *editButton;

private:
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
    std::optional<QString> chosen_;
};

}  // namespace softphone
