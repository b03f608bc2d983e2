#include "app/HandsetWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>

#include "app/ModalWindows.h"
#include "support/PictureButton.h"
#include "support/Twips.h"

namespace softphone {

HandsetWindow::HandsetWindow(PhoneController& phone, Services services, QWidget* parent)
    : QWidget(parent), phone_(phone), services_(std::move(services)) {
    phone_.setMessageOwner(this);
    buildControls();
    wireCallControls();
    wireDeskControls();
    connect(loginButton, &PictureButton::clicked, this, &HandsetWindow::onLoginClicked);
    connect(recentButton, &PictureButton::clicked, this, [this] {
        forgetMissedCalls();
        if (const auto number = services_.windows.showRecentCalls(this))
            numberBox->setEditText(*number);
    });
    connect(phoneBookButton, &PictureButton::clicked, this, [this] {
        if (const auto number = services_.windows.showPhoneBook(this))
            numberBox->setEditText(*number);
    });
}

HandsetWindow::~HandsetWindow() { phone_.shutdown(); }

void HandsetWindow::start() {
    showControls(PhoneController::Controls::Idle);
    setFixedSize(twipsToPixels(4450), twipsToPixels(6540));
    statusLabel->setText(tr("Not logged in..."));
    attachTooltips();
    prepareVolumeSliders();
    shapeWindow();
    // Leaving the dialog without logging in, by EXIT, Escape or its close button, ends the
    // program: going on would register whatever happens to be stored, or nothing.
    if (services_.windows.showLogin(this) != LoginOutcome::LoggedIn) {
        exitApplication();
        return;
    }
    phone_.start();
}

// The login button only shows the dialog: what is typed there counts from the next start or
// the next Login As.
void HandsetWindow::onLoginClicked() {
    if (services_.windows.showLogin(this) == LoginOutcome::Exited)
        balanceLabel->setText(tr("EXITING"));
}

// Whichever way the dialog is left, the phone registers the saved account again.
void HandsetWindow::onLoginAsTriggered() {
    onLoginClicked();
    phone_.loginAgain();
}

void HandsetWindow::onNetworkTriggered() {
    if (auto chosen = services_.windows.showNetwork(this, phone_.network()))
        phone_.useNetwork(*chosen);
}

void HandsetWindow::exitApplication() {
    removeTrayIcon();
    phone_.hangUpForExit();
    ended_ = true;
    close();
    QCoreApplication::exit(0);
}

void HandsetWindow::onCloseClicked() {
    removeTrayIcon();
    phone_.hangUpForExit();
    phone_.forgetAccountUnlessSaved();
    close();
}

void HandsetWindow::showControls(PhoneController::Controls controls) {
    const bool idle = controls != PhoneController::Controls::InCall;
    dialButton->setEnabled(idle);
    clearButton->setEnabled(idle);
    backButton->setEnabled(idle);
    numberBox->setEnabled(idle);
    tuningButton->setEnabled(true);
    endButton->setEnabled(controls != PhoneController::Controls::Idle);
}

void HandsetWindow::closeEvent(QCloseEvent* event) {
    phone_.shutdown();
    event->accept();
}

void HandsetWindow::contextMenuEvent(QContextMenuEvent* event) {
    settingsMenu->popup(event->globalPos());
}

}  // namespace softphone
