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
class RecentCallsDialog : public QDialog {
    Q_OBJECT
public:
    RecentCallsDialog(QComboBox* numberBox, QWidget* parent = nullptr,
                      const QString& path = RecentCallsPath());

    void OnRecordDoubleClicked(QListWidgetItem* item);

    QLabel* skinLabel;
    QListWidget* callList;
    QPushButton* closeButton;

private:
    void ApplySkin();

    QComboBox* numberBox_;
};

}  // namespace softphone
