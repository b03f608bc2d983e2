#pragma once

#include <QDialog>

#include "records/DataFile.h"

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace softphone {

// Lists the last calls, newest first; a double-click hands the call's number to the main
// window's number field for redialling.
class frmRecent : public QDialog {
    Q_OBJECT
public:
    frmRecent(QComboBox* cmbPhoneNo, QWidget* parent = nullptr,
              const QString& path = RecentCallsPath());

    void Recentlist_DblClick(QListWidgetItem* item);

    QLabel* Picture1;
    QListWidget* Recentlist;
    QPushButton* CLOSE;

private:
    void ApplySkin();

    QComboBox* cmbPhoneNo_;
};

}  // namespace softphone
