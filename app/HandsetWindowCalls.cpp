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

void HandsetWindow::wireCallControls() {
    connect(dialButton, &PictureButton::clicked, this, &HandsetWindow::onDialClicked);
    connect(endButton, &PictureButton::clicked, this, &HandsetWindow::onEndClicked);
    connect(clearButton, &PictureButton::clicked, this, &HandsetWindow::onClearClicked);
    connect(backButton, &PictureButton::clicked, this, &HandsetWindow::onBackClicked);
    for (int i = 0; i < int(dialKeys.size()); ++i)
        connect(dialKeys[size_t(i)], &PictureButton::clicked, this,
                [this, i] { onDialKeyClicked(i); });
    numberFilter_ = new NumberKeyFilter(numberBox, *this);

    connect(&phone_, &PhoneController::statusChanged, statusLabel, &QLabel::setText);
    connect(&phone_, &PhoneController::controlsChanged, this, &HandsetWindow::showControls);
    connect(&phone_, &PhoneController::callerShown, numberBox, &QComboBox::setEditText);
    connect(&phone_, &PhoneController::ringing, this, &HandsetWindow::notifyIncomingCall);
    connect(&phone_, &PhoneController::missedCall, this, &HandsetWindow::announceMissedCall);
}

void HandsetWindow::onDialClicked() { phone_.dial(numberBox->currentText()); }

void HandsetWindow::placeCall() { phone_.placeCall(numberBox->currentText()); }

void HandsetWindow::onEndClicked() { phone_.end(numberBox->currentText()); }

void HandsetWindow::playKeyTone(const QString& toneName) { phone_.playKeyTone(toneName); }

void HandsetWindow::showNumbersOnlyError() { phone_.showNumbersOnlyError(); }

void HandsetWindow::onDialKeyClicked(int index) {
    const DialKey& key = kKeyTable[size_t(index)];
    phone_.playKeyTone(QLatin1String(key.toneName));
    numberBox->setEditText(numberBox->currentText() + QLatin1Char(key.key));
}

void HandsetWindow::onClearClicked() {
    statusLabel->setText(tr("Ready..."));
    numberBox->setEditText(QString());
    numberBox->setFocus();
}

void HandsetWindow::onBackClicked() {
    QString text = numberBox->currentText();
    if (text.isEmpty()) return;
    text.chop(1);
    numberBox->setEditText(text);
}

}  // namespace softphone
