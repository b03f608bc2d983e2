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
    phone_.SetMessageOwner(this);
    BuildControls();
    WireCallControls();
    WireDeskControls();
    connect(loginButton, &PictureButton::clicked, this, &HandsetWindow::OnLoginClicked);
    connect(recentButton, &PictureButton::clicked, this, [this] {
        ForgetMissedCalls();
        if (const auto number = services_.windows.ShowRecentCalls(this))
            numberBox->setEditText(*number);
    });
    connect(phoneBookButton, &PictureButton::clicked, this, [this] {
        if (const auto number = services_.windows.ShowPhoneBook(this))
            numberBox->setEditText(*number);
    });
}

HandsetWindow::~HandsetWindow() { phone_.Shutdown(); }

void HandsetWindow::Start() {
    ShowControls(PhoneController::Controls::Idle);
    setFixedSize(TwipsToPixels(4450), TwipsToPixels(6540));
    statusLabel->setText(tr("Not logged in..."));
    AttachTooltips();
    PrepareVolumeSliders();
    ShapeWindow();
    // Leaving the dialog without logging in, by EXIT, Escape or its close button, ends the
    // program: going on would register whatever happens to be stored, or nothing.
    if (services_.windows.ShowLogin(this) != LoginOutcome::LoggedIn) {
        ExitApplication();
        return;
    }
    phone_.Start();
}

// The login button only shows the dialog: what is typed there counts from the next start or
// the next Login As.
void HandsetWindow::OnLoginClicked() {
    if (services_.windows.ShowLogin(this) == LoginOutcome::Exited)
        balanceLabel->setText(tr("EXITING"));
}

// Whichever way the dialog is left, the phone registers the saved account again.
void HandsetWindow::OnLoginAsTriggered() {
    OnLoginClicked();
    phone_.LoginAgain();
}

void HandsetWindow::OnNetworkTriggered() {
    if (auto chosen = services_.windows.ShowNetwork(this, phone_.Network()))
        phone_.UseNetwork(*chosen);
}

void HandsetWindow::ExitApplication() {
    RemoveTrayIcon();
    phone_.HangUpForExit();
    ended_ = true;
    close();
    QCoreApplication::exit(0);
}

void HandsetWindow::OnCloseClicked() {
    RemoveTrayIcon();
    phone_.HangUpForExit();
    phone_.ForgetAccountUnlessSaved();
    close();
}

void HandsetWindow::ShowControls(PhoneController::Controls controls) {
    const bool idle = controls != PhoneController::Controls::InCall;
    dialButton->setEnabled(idle);
    clearButton->setEnabled(idle);
    backButton->setEnabled(idle);
    numberBox->setEnabled(idle);
    tuningButton->setEnabled(true);
    endButton->setEnabled(controls != PhoneController::Controls::Idle);
}

void HandsetWindow::closeEvent(QCloseEvent* event) {
    phone_.Shutdown();
    event->accept();
}

void HandsetWindow::contextMenuEvent(QContextMenuEvent* event) {
    settingsMenu->popup(event->globalPos());
}

}  // namespace softphone
