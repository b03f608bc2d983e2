#include "records/PhoneBookDialog.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <algorithm>

#include "records/DataLines.h"
#include "records/EntryText.h"
#include "records/PhoneBookModel.h"
#include "records/PhoneBookTransfer.h"
#include "support/MessageBox.h"
#include "support/NumberKeyFilter.h"
#include "support/PictureButton.h"
#include "support/Skin.h"
#include "support/Twips.h"

namespace softphone {
namespace {

// What the user can type into the boxes.
constexpr int kNameLength = 30;
constexpr int kNumberLength = 25;

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

// Larger files are no address book a person keeps (10,000 contacts with photos are far less).
constexpr qint64 kMaxAddressBookBytes = 256 << 20;

// The address books among dropped files.
QStringList addressBooksIn(const QMimeData* dropped) {
    QStringList paths;
    for (const QUrl& url : dropped->urls()) {
        const QString suffix = QFileInfo(url.path()).suffix().toLower();
        if (url.isLocalFile() && (suffix == QLatin1String("vcf") || suffix == QLatin1String("csv")))
            paths.append(url.toLocalFile());
    }
    return paths;
}

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

PhoneBookDialog::PhoneBookDialog(IMessageBox& messages, QWidget* parent, const QString& path,
                                 const QString& internationalPrefix)
    : QDialog(parent),
      messages_(messages),
      book_(new PhoneBookModel(path, this)),
      internationalPrefix_(internationalPrefix) {
    setWindowTitle(tr("Phone Book"));
    // The background picture (280 x 296 pixels, 4200 x 4440 twips) and the window cut to it.
    applyDialogSkin(this, WindowSkin::PhoneBook);

    entryList = new QListView(this);
    entryList->setObjectName(QStringLiteral("entryList"));
    entryList->setGeometry(twipsRect(480, 480, 3255, 1080));
    entryList->setUniformItemSizes(true);
    entryList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont fixedPitch(QStringLiteral("Liberation Mono"), 9);
    fixedPitch.setStyleHint(QFont::TypeWriter);
    entryList->setFont(fixedPitch);
    entryList->setModel(book_);

    label(tr("Name"), twipsRect(1080, 1680, 975, 255), this);
    nameBox = box(kNameLength, twipsRect(1080, 1920, 1935, 285), this);
    label(tr("Phone No."), twipsRect(1080, 2280, 975, 375), this);
    numberField = box(kNumberLength, twipsRect(1080, 2520, 1935, 285), this);
    numberField->setInputMethodHints(Qt::ImhDigitsOnly);
    auto* filter = new NumberKeyFilter(numberField, NumberKeyFilter::Accepts::Digits);
    connect(filter, &NumberKeyFilter::refused, this,
            [this] { showNumbersOnlyBox(messages_, this); });
    addButton = button(tr("ADD"), twipsRect(1080, 3000, 975, 375), this);
    callButton = button(tr("CALL"), twipsRect(2160, 3000, 855, 375), this);
    deleteButton = button(tr("DELETE"), twipsRect(1080, 3480, 975, 375), this);
    editButton = button(tr("EDIT"), twipsRect(2160, 3480, 855, 375), this);
    auto* closeButton = new PictureButton(QStringLiteral("closeButton"), QStringLiteral("x"),
                                          twipsRect(3840, 120, 180, 180), this);
    closeButton->setPicture(artPixmap(QStringLiteral("close")));
    closeButton->setAccessibleName(tr("Close"));

    connect(entryList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onEntrySelected(current.row()); });
    connect(addButton, &QPushButton::clicked, this, &PhoneBookDialog::onAddClicked);
    connect(editButton, &QPushButton::clicked, this, &PhoneBookDialog::onEditClicked);
    connect(deleteButton, &QPushButton::clicked, this, &PhoneBookDialog::onDeleteClicked);
    connect(callButton, &QPushButton::clicked, this, &PhoneBookDialog::onCallClicked);
    connect(closeButton, &PictureButton::clicked, this, &QDialog::close);
    buildTransferActions();
    formInitialState();
}

void PhoneBookDialog::buildTransferActions() {
    auto* importAction = new QAction(tr("&Import..."), this);
    importAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(importAction, &QAction::triggered, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Import Contacts"), QDir::homePath(),
                                         tr("Address books (*.vcf *.csv);;All files (*)"));
        if (!path.isEmpty()) importFile(path);
    });
    auto* exportAction = new QAction(tr("&Export..."), this);
    exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(exportAction, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Export Phone Book"), QDir::home().filePath(QStringLiteral("PhoneBook.vcf")),
            tr("vCards (*.vcf)"));
        if (!path.isEmpty()) exportTo(path);
    });
    addActions({importAction, exportAction});
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setAcceptDrops(true);
}

void PhoneBookDialog::importFile(const QString& path) {
    QFile file(path);
    if (file.size() > kMaxAddressBookBytes || !file.open(QIODevice::ReadOnly)) {
        messages_.show(this, tr("Could not read %1.").arg(shownPath(path)));
        return;
    }
    const PhoneBookImport import =
        importAddressBook(file.readAll(), book_->entries(), internationalPrefix_);
    if (!import.addressBook) {
        messages_.show(this,
                       tr("%1 is neither a vCard nor a contacts CSV file; nothing was imported.")
                           .arg(shownPath(path)));
        return;
    }
    if (!import.added.isEmpty() && !book_->add(import.added)) {
        changed(false);
        return;
    }
    formInitialState();
    messages_.show(this, importReport(import));
}

void PhoneBookDialog::exportTo(const QString& path) {
    QSaveFile file(path);
    const QByteArray cards = exportPhoneBook(book_->entries());
    if (!file.open(QIODevice::WriteOnly) || file.write(cards) != cards.size() || !file.commit())
        messages_.show(this, tr("Could not write %1.").arg(shownPath(path)));
}

void PhoneBookDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!addressBooksIn(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void PhoneBookDialog::dropEvent(QDropEvent* event) {
    const QStringList paths = addressBooksIn(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    for (const QString& path : paths) importFile(path);
}

int PhoneBookDialog::currentRow() const { return entryList->currentIndex().row(); }

void PhoneBookDialog::formInitialState() {
    emptyBox(nameBox, kNameLength);
    emptyBox(numberField, kNumberLength);
    editButton->setEnabled(false);
    deleteButton->setEnabled(false);
    callButton->setEnabled(false);
    addButton->setEnabled(true);
    entryList->setCurrentIndex(book_->index(0));
}

void PhoneBookDialog::onEntrySelected(int row) {
    if (row < 0) return;
    if (row == 0) {
        formInitialState();
        return;
    }
    const EntryParts parts = book_->parts(row);
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

void PhoneBookDialog::changed(bool saved) {
    if (!saved) messages_.show(this, tr("Could not save the phone book."));
    formInitialState();
}

void PhoneBookDialog::onAddClicked() {
    if (!boxesFilled()) return;
    changed(book_->add({entryFromBoxes()}));
}

void PhoneBookDialog::onEditClicked() {
    const int row = currentRow();
    if (row < 1 || !boxesFilled()) return;
    changed(book_->replace(row, entryFromBoxes()));
}

void PhoneBookDialog::onDeleteClicked() {
    const int row = currentRow();
    if (row == 0) {
        messages_.show(this, tr("Can't Delete."));
        return;
    }
    if (row < 0) return;
    changed(book_->remove(row));
}

void PhoneBookDialog::onCallClicked() {
    chosen_ = numberField->text();
    close();
}

}  // namespace softphone
