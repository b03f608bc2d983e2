#include "records/RecentCallsDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "records/DataLines.h"
#include "records/EntryText.h"
#include "records/RecentCalls.h"
#include "support/Skin.h"
#include "support/Twips.h"

namespace softphone {

RecentCallsDialog::RecentCallsDialog(QWidget* parent, const QString& path) : QDialog(parent) {
    setWindowTitle(tr("Recent Calls"));
    applySkin();
    callList = new QListWidget(this);
    callList->setGeometry(twipsRect(300, 480, 2655, 1620));
    closeButton = new QPushButton(tr("CLOSE"), this);
    closeButton->setGeometry(twipsRect(960, 2400, 1215, 375));
    closeButton->setAutoDefault(false);

    for (const QByteArray& line : readRecentCalls(path)) {
        auto* row = new QListWidgetItem(shownLine(line), callList);
        row->setData(Qt::UserRole, line);
    }

    connect(callList, &QListWidget::itemDoubleClicked, this,
            &RecentCallsDialog::onRecordDoubleClicked);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

// The one place where the window gets its look and outline: the background picture skinLabel
// (216 x 228 pixels, 3240 x 3420 twips) and the window cut to it.
void RecentCallsDialog::applySkin() {
    applyDialogSkin(this, WindowSkin::RecentCalls);
    skinLabel = findChild<QLabel*>(QStringLiteral("skinLabel"));
}

void RecentCallsDialog::onRecordDoubleClicked(QListWidgetItem* item) {
    if (!item) return;
    const QString record = decodeLine(item->data(Qt::UserRole).toByteArray());
    if (record.isEmpty()) return;
    chosen_ = numberOfRecord(record);
    close();
}

}  // namespace softphone
