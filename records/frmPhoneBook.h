#pragma once

#include <QDialog>

#include "records/DataFile.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace softphone {

class IMessageBox;
class PictureButton;

// The phone book: "name--number" entries kept in PhoneBook.txt, one per line. Row 0 of the list
// is the "NEW ITEM!" placeholder; rows 1 to n are the file's lines in order. Every change is
// written at once; CALL hands the number box's text to the main window's number field.
class frmPhoneBook : public QDialog {
    Q_OBJECT
public:
    frmPhoneBook(IMessageBox& messages, QComboBox* cmbPhoneNo, QWidget* parent = nullptr,
                 const QString& path = PhoneBookPath());

    void readFile();
    bool WriteFile();
    void FormInitialState();
    void lstPhoneBook_Click(int row);
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdCall_Click();
    // Key filter of the number box: false when the key is refused.
    bool txtPhoneNo_KeyPress(const QKeyEvent& key);

    // The bytes of rows 1 to n, as WriteFile stores them.
    QList<QByteArray> Entries() const;

    QLabel* Picture1;
    QListWidget* lstPhoneBook;
    QLabel *Label1, *Label2;
    QLineEdit *txtName, *txtPhoneNo;
    QPushButton *cmdAdd, *cmdCall, *cmdDelete, *cmdEdit;
    PictureButton* Picture2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplySkin();
    bool BoxesFilled();
    QByteArray EntryFromBoxes() const;
    void SaveChanges();

    IMessageBox& messages_;
    QComboBox* cmbPhoneNo_;
    DataFile file_;
};

}  // namespace softphone
