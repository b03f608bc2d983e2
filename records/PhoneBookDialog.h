#pragma once

#include <QDialog>
#include <optional>

#include "records/DataFile.h"

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
// written at once; CALL closes it with the number box's text as the chosen number.
class PhoneBookDialog : public QDialog {
    Q_OBJECT
public:
    explicit PhoneBookDialog(IMessageBox& messages, QWidget* parent = nullptr,
                             const QString& path = phoneBookPath());
    // The number CALL chose; none when the dialog was closed otherwise.
    const std::optional<QString>& chosenNumber() const { return chosen_; }

    void readFile();
    bool writeFile();
    void formInitialState();
    void onEntrySelected(int row);
    void onAddClicked();
    void onEditClicked();
    void onDeleteClicked();
    void onCallClicked();
    // Key filter of the number box: false when the key is refused.
    bool onNumberKeyPress(const QKeyEvent& key);

    // The bytes of rows 1 to n, as WriteFile stores them.
    QList<QByteArray> entries() const;

    QLabel* skinLabel;
    QListWidget* entryList;
    QLabel *nameLabel, *numberLabel;
    QLineEdit *nameBox, *numberField;
    QPushButton *addButton, *callButton, *deleteButton, *editButton;
    PictureButton* closeButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applySkin();
    bool boxesFilled();
    QByteArray entryFromBoxes() const;
    void saveChanges();

    IMessageBox& messages_;
    std::optional<QString> chosen_;
    DataFile file_;
};

}  // namespace softphone
