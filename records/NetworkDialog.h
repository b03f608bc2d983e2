#pragma once

#include <QDialog>

#include "records/NetworkSettings.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace softphone {

// The transport to the provider, a CA file to trust besides the system's, and encrypted media.
// It changes nothing itself: the caller takes Settings() when the dialog is accepted.
class NetworkDialog : public QDialog {
    Q_OBJECT
public:
    explicit NetworkDialog(const NetworkSettings& settings, QWidget* parent = nullptr);
    NetworkSettings Settings() const;

    QComboBox* transportBox;
    QLineEdit* caFileBox;
    QPushButton* browseButton;
    QComboBox* srtpBox;

private:
    void OnTransportChanged();
};

}  // namespace softphone
