#include "records/PhoneBookDialog.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

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

PhoneBookDialog::PhoneBookDialog(IMessageBox& messages, QWidget* parent, const QString& path)
    : QDialog(parent), messages_(messages), file_(path) {
    setWindowTitle(tr("Phone Book"));
    ApplySkin();

    entryList = new QListWidget(this);
    entryList->setGeometry(TwipsRect(480, 480, 3255, 1080));
    entryList->setUniformItemSizes(true);
    QFont fixedPitch(QStringLiteral("Liberation Mono"), 9);
    fixedPitch.setStyleHint(QFont::TypeWriter);
    entryList->setFont(fixedPitch);

    nameLabel = Label(tr("Name"), TwipsRect(1080, 1680, 975, 255), this);
    nameBox = Box(kNameLength, TwipsRect(1080, 1920, 1935, 285), this);
    numberLabel = Label(tr("Phone No."), TwipsRect(1080, 2280, 975, 375), this);
    numberField = Box(kNumberLength, TwipsRect(1080, 2520, 1935, 285), this);
    numberField->setInputMethodHints(Qt::ImhDigitsOnly);
    numberField->installEventFilter(this);
    addButton = Button(tr("ADD"), TwipsRect(1080, 3000, 975, 375), this);
    callButton = Button(tr("CALL"), TwipsRect(2160, 3000, 855, 375), this);
    deleteButton = Button(tr("DELETE"), TwipsRect(1080, 3480, 975, 375), this);
    editButton = Button(tr("EDIT"), TwipsRect(2160, 3480, 855, 375), this);
    closeButton = new PictureButton(QStringLiteral("closeButton"), QStringLiteral("x"),
                                    TwipsRect(3840, 120, 180, 180), this);
    closeButton->SetPicture(ArtPixmap(QStringLiteral("close")));
    closeButton->setAccessibleName(tr("Close"));

    entryList->addItem(tr("NEW ITEM!"));
    connect(entryList, &QListWidget::currentRowChanged, this, &PhoneBookDialog::OnEntrySelected);
    connect(addButton, &QPushButton::clicked, this, &PhoneBookDialog::OnAddClicked);
    connect(editButton, &QPushButton::clicked, this, &PhoneBookDialog::OnEditClicked);
    connect(deleteButton, &QPushButton::clicked, this, &PhoneBookDialog::OnDeleteClicked);
    connect(callButton, &QPushButton::clicked, this, &PhoneBookDialog::OnCallClicked);
    connect(closeButton, &PictureButton::clicked, this, &QDialog::close);

    ReadFile();
    FormInitialState();
}

// The one place where the window gets its look and outline: the background picture skinLabel
// (280 x 296 pixels, 4200 x 4440 twips) and the window cut to it.
void PhoneBookDialog::ApplySkin() {
    ApplyDialogSkin(this, WindowSkin::PhoneBook);
    skinLabel = findChild<QLabel*>(QStringLiteral("skinLabel"));
}

void PhoneBookDialog::ReadFile() {
    const std::optional<QList<QByteArray>> lines = file_.Read();
    if (!lines) return;
    for (const QByteArray& line : *lines) entryList->addItem(EntryRow(line));
}

bool PhoneBookDialog::WriteFile() { return file_.Write(Entries()); }

QList<QByteArray> PhoneBookDialog::Entries() const {
    QList<QByteArray> entries;
    entries.reserve(entryList->count());
    for (int row = 1; row < entryList->count(); ++row)
        entries.append(EntryBytes(entryList->item(row)));
    return entries;
}

void PhoneBookDialog::FormInitialState() {
    EmptyBox(nameBox, kNameLength);
    EmptyBox(numberField, kNumberLength);
    editButton->setEnabled(false);
    deleteButton->setEnabled(false);
    callButton->setEnabled(false);
    addButton->setEnabled(true);
    entryList->setCurrentRow(0);
}

void PhoneBookDialog::OnEntrySelected(int row) {
    if (row < 0) return;
    if (row == 0) {
        FormInitialState();
        return;
    }
    const EntryParts parts = CutEntry(DecodeLine(EntryBytes(entryList->item(row))));
    ShowPiece(nameBox, parts.name, kNameLength);
    ShowPiece(numberField, parts.number, kNumberLength);
    addButton->setEnabled(false);
    editButton->setEnabled(true);
    deleteButton->setEnabled(true);
    callButton->setEnabled(true);
}

bool PhoneBookDialog::BoxesFilled() {
    if (nameBox->text().isEmpty()) {
        messages_.Show(this, tr("Enter Name."));
        nameBox->setFocus();
        return false;
    }
    if (numberField->text().isEmpty()) {
        messages_.Show(this, tr("Enter Phone Number."));
        numberField->setFocus();
        return false;
    }
    return true;
}

QByteArray PhoneBookDialog::EntryFromBoxes() const {
    return EncodeText(BuildEntry(nameBox->text(), numberField->text()));
}

// After a failed write the list is brought back to what the file holds, so what the user sees
// is what is stored.
void PhoneBookDialog::SaveChanges() {
    if (!WriteFile()) {
        messages_.Show(this, tr("Could not save the phone book."));
        const QSignalBlocker quiet(entryList);
        while (entryList->count() > 1) delete entryList->takeItem(entryList->count() - 1);
        entryList->setCurrentRow(0);
        ReadFile();
    }
    FormInitialState();
}

void PhoneBookDialog::OnAddClicked() {
    if (!BoxesFilled()) return;
    entryList->addItem(EntryRow(EntryFromBoxes()));
    SaveChanges();
}

void PhoneBookDialog::OnEditClicked() {
    const int row = entryList->currentRow();
    if (row < 1 || !BoxesFilled()) return;
    SetEntry(entryList->item(row), EntryFromBoxes());
    SaveChanges();
}

void PhoneBookDialog::OnDeleteClicked() {
    const int row = entryList->currentRow();
    if (row == 0) {
        messages_.Show(this, tr("Can't Delete."));
        return;
    }
    if (row < 0) return;
    {
        const QSignalBlocker quiet(entryList);
        delete entryList->takeItem(row);
    }
    SaveChanges();
}

void PhoneBookDialog::OnCallClicked() {
    chosen_ = numberField->text();
    close();
}

bool PhoneBookDialog::OnNumberKeyPress(const QKeyEvent& key) {
    const QString typed = key.text();
    if (TypesNothing(key) || std::all_of(typed.begin(), typed.end(), IsDigitOrBackspace))
        return true;
    messages_.Show(this, tr("Numbers 0 to 9 only, please!"), tr("Input Error"),
                   MessageIcon::Exclamation);
    return false;
}

bool PhoneBookDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == numberField && event->type() == QEvent::KeyPress &&
        !OnNumberKeyPress(static_cast<const QKeyEvent&>(*event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

}  // namespace softphone
