// The handset's call controls: Dial, End, the dial pad, Clear and Back, and what the phone
// reports back to them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/HandsetWindow.h"
#include "dialer/KeyTable.h"
#include "dialer/NumberKeyFilter.h"
#include "support/PictureButton.h"

namespace softphone {

void HandsetWindow::WireCallControls() {
    connect(dialButton, &PictureButton::clicked, this, &HandsetWindow::OnDialClicked);
    connect(endButton, &PictureButton::clicked, this, &HandsetWindow::OnEndClicked);
    connect(clearButton, &PictureButton::clicked, this, &HandsetWindow::OnClearClicked);
    connect(backButton, &PictureButton::clicked, this, &HandsetWindow::OnBackClicked);
    for (int i = 0; i < int(dialKeys.size()); ++i)
        connect(dialKeys[size_t(i)], &PictureButton::clicked, this,
                [this, i] { OnDialKeyClicked(i); });
    numberFilter_ = new NumberKeyFilter(numberBox, *this);

    connect(&phone_, &PhoneController::statusChanged, statusLabel, &QLabel::setText);
    connect(&phone_, &PhoneController::controlsChanged, this, &HandsetWindow::ShowControls);
    connect(&phone_, &PhoneController::callerShown, numberBox, &QComboBox::setEditText);
    connect(&phone_, &PhoneController::ringing, this, &HandsetWindow::NotifyIncomingCall);
    connect(&phone_, &PhoneController::missedCall, this, &HandsetWindow::AnnounceMissedCall);
}

void HandsetWindow::OnDialClicked() { phone_.Dial(numberBox->currentText()); }

void HandsetWindow::PlaceCall() { phone_.PlaceCall(numberBox->currentText()); }

void HandsetWindow::OnEndClicked() { phone_.End(numberBox->currentText()); }

void HandsetWindow::PlayKeyTone(const QString& toneName) { phone_.PlayKeyTone(toneName); }

void HandsetWindow::ShowNumbersOnlyError() { phone_.ShowNumbersOnlyError(); }

void HandsetWindow::OnDialKeyClicked(int index) {
    const DialKey& key = kKeyTable[size_t(index)];
    phone_.PlayKeyTone(QLatin1String(key.toneName));
    numberBox->setEditText(numberBox->currentText() + QLatin1Char(key.key));
}

void HandsetWindow::OnClearClicked() {
    statusLabel->setText(tr("Ready..."));
    numberBox->setEditText(QString());
    numberBox->setFocus();
}

void HandsetWindow::OnBackClicked() {
    QString text = numberBox->currentText();
    if (text.isEmpty()) return;
    text.chop(1);
    numberBox->setEditText(text);
}

}  // namespace softphone
