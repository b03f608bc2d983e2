#pragma once

#include <QDialog>
#include <optional>

#include "records/DataFile.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace softphone {

// Lists the last calls, newest first; a double-click closes it with the call's number chosen
// for redialling.
class RecentCallsDialog : public QDialog {
    Q_OBJECT
public:
    explicit RecentCallsDialog(QWidget* parent = nullptr, const QString& path = recentCallsPath());
    // The number a double-click chose; none when the dialog was closed otherwise.
    const std::optional<QString>& chosenNumber() const { return chosen_; }

    void onRecordDoubleClicked(QListWidgetItem* item);

    QLabel* skinLabel;
    QListWidget* callList;
    QPushButton* closeButton;

private:
    void applySkin();

    std::optional<QString> chosen_;
};

}  // namespace softphone
