#include "records/frmPhoneBook.h"

#include <algorithm>

#include <QComboBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "records/DataLines.h"
#include "records/EntryText.h"
#include "support/MessageBox.h"
#include "support/PictureButton.h"
#include "support/Skin.h"
#include "support/Twips.h"

namespace softphone {
namespace {

constexpr int kEntryBytesRole = Qt::UserRole;
// What the user can type into the boxes.
constexpr int kNameLength = 30;
constexpr int kNumberLength = 25;

void SetEntry(QListWidgetItem* row, const QByteArray& bytes) {
    row->setText(ShownLine(bytes));
    row->setData(kEntryBytesRole, bytes);
}

QListWidgetItem* EntryRow(const QByteArray& bytes) {
    auto* row = new QListWidgetItem;
    SetEntry(row, bytes);
    return row;
}

QByteArray EntryBytes(const QListWidgetItem* row) {
    return row->data(kEntryBytesRole).toByteArray();
}

QPushButton* Button(const QString& caption, QRect place, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* Box(int maxLength, QRect place, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    box->setMaxLength(maxLength);
    return box;
}

// A longer piece of a hand-edited entry is shown whole, so that EDIT does not write it back cut.
void ShowPiece(QLineEdit* box, const QString& piece, int typedLength) {
    box->setMaxLength(std::max(typedLength, int(piece.size())));
    box->setText(piece);
}

// An empty box that takes what the user can type (a lower limit would cut the text it holds).
void EmptyBox(QLineEdit* box, int typedLength) {
    box->clear();
    box->setMaxLength(typedLength);
}

QLabel* Label(const QString& text, QRect place, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// Keys that type nothing (arrows, Home, End, modifiers) pass; so do Tab and Delete, which
// some platforms report with a control character.
bool TypesNothing(const QKeyEvent& key) {
    return key.text().isEmpty() || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab ||
           key.key() == Qt::Key_Delete;
}

bool IsDigitOrBackspace(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('\b');
}

}  // namespace

frmPhoneBook::frmPhoneBook(IMessageBox& messages, QComboBox* cmbPhoneNo, QWidget* parent,
                           const QString& path)
    : QDialog(parent), messages_(messages), cmbPhoneNo_(cmbPhoneNo), file_(path) {
    setWindowTitle(QStringLiteral("Phone Book"));
    ApplySkin();

    lstPhoneBook = new QListWidget(this);
    lstPhoneBook->setGeometry(TwipsRect(480, 480, 3255, 1080));
    lstPhoneBook->setUniformItemSizes(true);
    QFont fixedPitch(QStringLiteral("Liberation Mono"), 9);
    fixedPitch.setStyleHint(QFont::TypeWriter);
    lstPhoneBook->setFont(fixedPitch);

    Label1 = Label(QStringLiteral("Name"), TwipsRect(1080, 1680, 975, 255), this);
    txtName = Box(kNameLength, TwipsRect(1080, 1920, 1935, 285), this);
    Label2 = Label(QStringLiteral("Phone No."), TwipsRect(1080, 2280, 975, 375), this);
    txtPhoneNo = Box(kNumberLength, TwipsRect(1080, 2520, 1935, 285), this);
    txtPhoneNo->setInputMethodHints(Qt::ImhDigitsOnly);
    txtPhoneNo->installEventFilter(this);
    cmdAdd = Button(QStringLiteral("ADD"), TwipsRect(1080, 3000, 975, 375), this);
    cmdCall = Button(QStringLiteral("CALL"), TwipsRect(2160, 3000, 855, 375), this);
    cmdDelete = Button(QStringLiteral("DELETE"), TwipsRect(1080, 3480, 975, 375), this);
    cmdEdit = Button(QStringLiteral("EDIT"), TwipsRect(2160, 3480, 855, 375), this);
    Picture2 = new PictureButton(QStringLiteral("Picture2"), QStringLiteral("x"),
                                 TwipsRect(3840, 120, 180, 180), this);
    Picture2->SetPicture(ArtPixmap(QStringLiteral("close")));

    lstPhoneBook->addItem(QStringLiteral("NEW ITEM!"));
    connect(lstPhoneBook, &QListWidget::currentRowChanged, this,
            &frmPhoneBook::lstPhoneBook_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmPhoneBook::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmPhoneBook::cmdEdit_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmPhoneBook::cmdDelete_Click);
    connect(cmdCall, &QPushButton::clicked, this, &frmPhoneBook::cmdCall_Click);
    connect(Picture2, &PictureButton::clicked, this, &QDialog::close);

    readFile();
    FormInitialState();
}

// The one place where the window gets its look and outline: the background picture Picture1
// (280 x 296 pixels, 4200 x 4440 twips) and the window cut to it.
void frmPhoneBook::ApplySkin() {
    ApplyDialogSkin(this, WindowSkin::PhoneBook);
    Picture1 = findChild<QLabel*>(QStringLiteral("Picture1"));
}

void frmPhoneBook::readFile() {
    const std::optional<QList<QByteArray>> lines = file_.Read();
    if (!lines) return;
    for (const QByteArray& line : *lines) lstPhoneBook->addItem(EntryRow(line));
}

bool frmPhoneBook::WriteFile() { return file_.Write(Entries()); }

QList<QByteArray> frmPhoneBook::Entries() const {
    QList<QByteArray> entries;
    entries.reserve(lstPhoneBook->count());
    for (int row = 1; row < lstPhoneBook->count(); ++row)
        entries.append(EntryBytes(lstPhoneBook->item(row)));
    return entries;
}

void frmPhoneBook::FormInitialState() {
    EmptyBox(txtName, kNameLength);
    EmptyBox(txtPhoneNo, kNumberLength);
    cmdEdit->setEnabled(false);
    cmdDelete->setEnabled(false);
    cmdCall->setEnabled(false);
    cmdAdd->setEnabled(true);
    lstPhoneBook->setCurrentRow(0);
}

void frmPhoneBook::lstPhoneBook_Click(int row) {
    if (row < 0) return;
    if (row == 0) {
        FormInitialState();
        return;
    }
    const EntryParts parts = CutEntry(DecodeLine(EntryBytes(lstPhoneBook->item(row))));
    ShowPiece(txtName, parts.name, kNameLength);
    ShowPiece(txtPhoneNo, parts.number, kNumberLength);
    cmdAdd->setEnabled(false);
    cmdEdit->setEnabled(true);
    cmdDelete->setEnabled(true);
    cmdCall->setEnabled(true);
}

bool frmPhoneBook::BoxesFilled() {
    if (txtName->text().isEmpty()) {
        messages_.Show(this, QStringLiteral("Enter Name."));
        txtName->setFocus();
        return false;
    }
    if (txtPhoneNo->text().isEmpty()) {
        messages_.Show(this, QStringLiteral("Enter Phone Number."));
        txtPhoneNo->setFocus();
        return false;
    }
    return true;
}

QByteArray frmPhoneBook::EntryFromBoxes() const {
    return EncodeText(BuildEntry(txtName->text(), txtPhoneNo->text()));
}

// After a failed write the list is brought back to what the file holds, so what the user sees
// is what is stored.
void frmPhoneBook::SaveChanges() {
    if (!WriteFile()) {
        messages_.Show(this, QStringLiteral("Could not save the phone book."));
        const QSignalBlocker quiet(lstPhoneBook);
        while (lstPhoneBook->count() > 1) delete lstPhoneBook->takeItem(lstPhoneBook->count() - 1);
        lstPhoneBook->setCurrentRow(0);
        readFile();
    }
    FormInitialState();
}

void frmPhoneBook::cmdAdd_Click() {
    if (!BoxesFilled()) return;
    lstPhoneBook->addItem(EntryRow(EntryFromBoxes()));
    SaveChanges();
}

void frmPhoneBook::cmdEdit_Click() {
    const int row = lstPhoneBook->currentRow();
    if (row < 1 || !BoxesFilled()) return;
    SetEntry(lstPhoneBook->item(row), EntryFromBoxes());
    SaveChanges();
}

void frmPhoneBook::cmdDelete_Click() {
    const int row = lstPhoneBook->currentRow();
    if (row == 0) {
        messages_.Show(this, QStringLiteral("Can't Delete."));
        return;
    }
    if (row < 0) return;
    {
        const QSignalBlocker quiet(lstPhoneBook);
        delete lstPhoneBook->takeItem(row);
    }
    SaveChanges();
}

void frmPhoneBook::cmdCall_Click() {
    cmbPhoneNo_->setEditText(txtPhoneNo->text());
    close();
}

bool frmPhoneBook::txtPhoneNo_KeyPress(const QKeyEvent& key) {
    const QString typed = key.text();
    if (TypesNothing(key) || std::all_of(typed.begin(), typed.end(), IsDigitOrBackspace))
        return true;
    messages_.Show(this, QStringLiteral("Numbers 0 to 9 only, please!"),
                   QStringLiteral("Input Error"), MessageIcon::Exclamation);
    return false;
}

bool frmPhoneBook::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPhoneNo && event->type() == QEvent::KeyPress &&
        !txtPhoneNo_KeyPress(static_cast<const QKeyEvent&>(*event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

}  // namespace softphone
