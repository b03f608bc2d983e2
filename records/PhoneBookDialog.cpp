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

void setEntry(QListWidgetItem* row, const QByteArray& bytes) {
    row->setText(shownLine(bytes));
    row->setData(kEntryBytesRole, bytes);
}

QListWidgetItem* entryRow(const QByteArray& bytes) {
    auto* row = new QListWidgetItem;
    setEntry(row, bytes);
    return row;
}

QByteArray entryBytes(const QListWidgetItem* row) {
    return row->data(kEntryBytesRole).toByteArray();
}

QPushButton* button(const QString& caption, QRect place, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* box(int maxLength, QRect place, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    box->setMaxLength(maxLength);
    return box;
}

// A longer piece of a hand-edited entry is shown whole, so that EDIT does not write it back cut.
void showPiece(QLineEdit* box, const QString& piece, int typedLength) {
    box->setMaxLength(std::max(typedLength, int(piece.size())));
    box->setText(piece);
}

// An empty box that takes what the user can type (a lower limit would cut the text it holds).
void emptyBox(QLineEdit* box, int typedLength) {
    box->clear();
    box->setMaxLength(typedLength);
}

QLabel* label(const QString& text, QRect place, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// Keys that type nothing (arrows, Home, End, modifiers) pass; so do Tab and Delete, which
// some platforms report with a control character.
bool typesNothing(const QKeyEvent& key) {
    return key.text().isEmpty() || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab ||
           key.key() == Qt::Key_Delete;
}

bool isDigitOrBackspace(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('\b');
}

}  // namespace

PhoneBookDialog::PhoneBookDialog(IMessageBox& messages, QWidget* parent, const QString& path)
    : QDialog(parent), messages_(messages), file_(path) {
    setWindowTitle(tr("Phone Book"));
    applySkin();

    entryList = new QListWidget(this);
    entryList->setGeometry(twipsRect(480, 480, 3255, 1080));
    entryList->setUniformItemSizes(true);
    QFont fixedPitch(QStringLiteral("Liberation Mono"), 9);
    fixedPitch.setStyleHint(QFont::TypeWriter);
    entryList->setFont(fixedPitch);

    nameLabel = label(tr("Name"), twipsRect(1080, 1680, 975, 255), this);
    nameBox = box(kNameLength, twipsRect(1080, 1920, 1935, 285), this);
    numberLabel = label(tr("Phone No."), twipsRect(1080, 2280, 975, 375), this);
    numberField = box(kNumberLength, twipsRect(1080, 2520, 1935, 285), this);
    numberField->setInputMethodHints(Qt::ImhDigitsOnly);
    numberField->installEventFilter(this);
    addButton = button(tr("ADD"), twipsRect(1080, 3000, 975, 375), this);
    callButton = button(tr("CALL"), twipsRect(2160, 3000, 855, 375), this);
    deleteButton = button(tr("DELETE"), twipsRect(1080, 3480, 975, 375), this);
    editButton = button(tr("EDIT"), twipsRect(2160, 3480, 855, 375), this);
    closeButton = new PictureButton(QStringLiteral("closeButton"), QStringLiteral("x"),
                                    twipsRect(3840, 120, 180, 180), this);
    closeButton->setPicture(artPixmap(QStringLiteral("close")));
    closeButton->setAccessibleName(tr("Close"));

    entryList->addItem(tr("NEW ITEM!"));
    connect(entryList, &QListWidget::currentRowChanged, this, &PhoneBookDialog::onEntrySelected);
    connect(addButton, &QPushButton::clicked, this, &PhoneBookDialog::onAddClicked);
    connect(editButton, &QPushButton::clicked, this, &PhoneBookDialog::onEditClicked);
    connect(deleteButton, &QPushButton::clicked, this, &PhoneBookDialog::onDeleteClicked);
    connect(callButton, &QPushButton::clicked, this, &PhoneBookDialog::onCallClicked);
    connect(closeButton, &PictureButton::clicked, this, &QDialog::close);

    readFile();
    formInitialState();
}

// The one place where the window gets its look and outline: the background picture skinLabel
// (280 x 296 pixels, 4200 x 4440 twips) and the window cut to it.
void PhoneBookDialog::applySkin() {
    applyDialogSkin(this, WindowSkin::PhoneBook);
    skinLabel = findChild<QLabel*>(QStringLiteral("skinLabel"));
}

void PhoneBookDialog::readFile() {
    const std::optional<QList<QByteArray>> lines = file_.read();
    if (!lines) return;
    for (const QByteArray& line : *lines) entryList->addItem(entryRow(line));
}

bool PhoneBookDialog::writeFile() { return file_.write(entries()); }

QList<QByteArray> PhoneBookDialog::entries() const {
    QList<QByteArray> entries;
    entries.reserve(entryList->count());
    for (int row = 1; row < entryList->count(); ++row)
        entries.append(entryBytes(entryList->item(row)));
    return entries;
}

void PhoneBookDialog::formInitialState() {
    emptyBox(nameBox, kNameLength);
    emptyBox(numberField, kNumberLength);
    editButton->setEnabled(false);
    deleteButton->setEnabled(false);
    callButton->setEnabled(false);
    addButton->setEnabled(true);
    entryList->setCurrentRow(0);
}

void PhoneBookDialog::onEntrySelected(int row) {
    if (row < 0) return;
    if (row == 0) {
        formInitialState();
        return;
    }
    const EntryParts parts = cutEntry(decodeLine(entryBytes(entryList->item(row))));
    showPiece(nameBox, parts.name, kNameLength);
    showPiece(numberField, parts.number, kNumberLength);
    addButton->setEnabled(false);
    editButton->setEnabled(true);
    deleteButton->setEnabled(true);
    callButton->setEnabled(true);
}

bool PhoneBookDialog::boxesFilled() {
    if (nameBox->text().isEmpty()) {
        messages_.show(this, tr("Enter Name."));
        nameBox->setFocus();
        return false;
    }
    if (numberField->text().isEmpty()) {
        messages_.show(this, tr("Enter Phone Number."));
        numberField->setFocus();
        return false;
    }
    return true;
}

QByteArray PhoneBookDialog::entryFromBoxes() const {
    return encodeText(buildEntry(nameBox->text(), numberField->text()));
}

// After a failed write the list is brought back to what the file holds, so what the user sees
// is what is stored.
void PhoneBookDialog::saveChanges() {
    if (!writeFile()) {
        messages_.show(this, tr("Could not save the phone book."));
        const QSignalBlocker quiet(entryList);
        while (entryList->count() > 1) delete entryList->takeItem(entryList->count() - 1);
        entryList->setCurrentRow(0);
        readFile();
    }
    formInitialState();
}

void PhoneBookDialog::onAddClicked() {
    if (!boxesFilled()) return;
    entryList->addItem(entryRow(entryFromBoxes()));
    saveChanges();
}

void PhoneBookDialog::onEditClicked() {
    const int row = entryList->currentRow();
    if (row < 1 || !boxesFilled()) return;
    setEntry(entryList->item(row), entryFromBoxes());
    saveChanges();
}

void PhoneBookDialog::onDeleteClicked() {
    const int row = entryList->currentRow();
    if (row == 0) {
        messages_.show(this, tr("Can't Delete."));
        return;
    }
    if (row < 0) return;
    {
        const QSignalBlocker quiet(entryList);
        delete entryList->takeItem(row);
    }
    saveChanges();
}

void PhoneBookDialog::onCallClicked() {
    chosen_ = numberField->text();
    close();
}

bool PhoneBookDialog::onNumberKeyPress(const QKeyEvent& key) {
    const QString typed = key.text();
    if (typesNothing(key) || std::all_of(typed.begin(), typed.end(), isDigitOrBackspace))
        return true;
    messages_.show(this, tr("Numbers 0 to 9 only, please!"), tr("Input Error"),
                   MessageIcon::Exclamation);
    return false;
}

bool PhoneBookDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == numberField && event->type() == QEvent::KeyPress &&
        !onNumberKeyPress(static_cast<const QKeyEvent&>(*event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

}  // namespace softphone
