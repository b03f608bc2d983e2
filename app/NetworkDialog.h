#pragma once

#include <QDialog>

#include "app/NetworkSettings.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace softphone {

// The transport to the provider, a CA file to trust besides the system's, encrypted media, and a
// STUN server for calls from behind a home router; what a written "+" is dialled as; how key
// presses reach the far end. It changes nothing itself: the caller takes settings() when the
// dialog is accepted.
class NetworkDialog : public QDialog {
    Q_OBJECT
public:
    explicit NetworkDialog(const NetworkSettings& settings, QWidget* parent = nullptr);
    NetworkSettings settings() const;

    QComboBox* transportBox;
    QLineEdit* caFileBox;
    QPushButton* browseButton;
    QComboBox* srtpBox;
    QLineEdit* stunServerBox;
    QLineEdit* internationalPrefixBox;
    QComboBox* dtmfBox;

private:
    void onTransportChanged();
};

}  // namespace softphone
