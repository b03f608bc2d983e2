#include "app/HandsetWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>

#include "app/ModalWindows.h"
#include "app/ProvisioningXml.h"
#include "records/SettingsStore.h"
#include "support/MessageBox.h"
#include "support/PictureButton.h"
#include "support/Twips.h"

namespace softphone {
namespace {

const QString kNotRegistered = QStringLiteral("NOTREGISTERED");

struct RegistrationRow {
    const char* regState;  // nullptr: unchanged
    const char* statusLine;
};

// Indexed by the engine's registration state number.
constexpr RegistrationRow kRegistrationTable[] = {
    {"NOTREGISTERED", "Not Registered"},
    {"REGISTERING", "Registering"},
    {"REGISTERED", "Registered and Ready..."},
    {"REJECTED", "Rejected"},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {"LOGGEDOFF", "Logged off."},
};

}  // namespace

HandsetWindow::HandsetWindow(Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    BuildControls();
    WireCallControls();
    WireDeskControls();
    // The login button only shows the dialog: what is typed there counts from the next start
    // or the next Login As.
    connect(loginButton, &PictureButton::clicked, this,
            [this] { services_.windows.ShowLogin(*this); });
    connect(recentButton, &PictureButton::clicked, this, [this] {
        ForgetMissedCalls();
        services_.windows.ShowRecentCalls(*this);
    });
    connect(phoneBookButton, &PictureButton::clicked, this,
            [this] { services_.windows.ShowPhoneBook(*this); });
}

HandsetWindow::~HandsetWindow() { Unload(); }

void HandsetWindow::Start() {
    try {
        registrationState = kNotRegistered;
        ShowIdleControls();
        accountNumber.clear();
        password.clear();
        setFixedSize(TwipsToPixels(4450), TwipsToPixels(6540));
        RoundWindow();
        statusLabel->setText(QStringLiteral("Not logged in..."));
        AttachTooltips();
        PrepareVolumeSliders();
        ShapeWindow();
        // Leaving the dialog without logging in, by EXIT, Escape or its close button, ends the
        // program: going on would register whatever happens to be stored, or nothing.
        if (!LoadLoginSettings()) {
            ExitApplication();
            return;
        }
        if (password.isEmpty()) password = accountNumber;
        InitializeClient();
        EnableAccountProfile();
    } catch (const std::exception&) {
        ShowStartError();
    }
}

void HandsetWindow::ShowStartError() {
    services_.messages.Show(this, QStringLiteral("An Error Occured and has been logged. FORMLOAD"));
}

bool HandsetWindow::LoadLoginSettings() {
    const bool loggedIn = services_.windows.ShowLogin(*this);
    password = ReadSavedValue(services_.store, QStringLiteral("Password"));
    accountNumber = ReadSavedValue(services_.store, QStringLiteral("Account"));
    sipAddress = ReadSavedValue(services_.store, QStringLiteral("Sip"));
    return loggedIn;
}

void HandsetWindow::ExitApplication() {
    RemoveTrayIcon();
    TerminateActiveCall();
    ended_ = true;
    close();
    QCoreApplication::exit(0);
}

void HandsetWindow::InitializeClient() {
    try {
        if (!services_.createEngine)
            throw EngineError(kErrorEngineUnavailable, QStringLiteral("No SIP engine"));
        engine = services_.createEngine();
        if (!engine) throw EngineError(kErrorEngineUnavailable, QStringLiteral("No SIP engine"));
        engine->Initialize();
        engine->SetEventFilter(kEventFilterAll);
        engine->SetEventSink([this](int code, const EngineEvent& event) {
            OnEngineEvent(code, event);
        });
        engine->SetListenForIncomingSessions(kListenBothPorts);
        engine->SetPreferredMediaTypes(kMediaAudioSendReceive, true);
    } catch (const std::exception&) {
        ShowStartError();
    }
}

void HandsetWindow::EnableAccountProfile() {
    try {
        server = sipAddress;
        profileXml = BuildProfileXml(accountNumber, password, server, displayName);
        if (!engine) throw EngineError(kErrorEngineUnavailable, QStringLiteral("No SIP engine"));
        std::shared_ptr<IProfile> profile = engine->CreateProfile(profileXml);
        // The engine swaps the earlier account for this one only once it accepts it: a refused
        // login leaves the registration, and the status that tells of it, as they were.
        engine->EnableProfile(profile, kRegisterAll);
        account = profile;
    } catch (const std::exception&) {
        ShowStartError();
    }
}

void HandsetWindow::EraseProfile() {
    password = ReadSavedValue(services_.store, QStringLiteral("Password"));
    accountNumber = ReadSavedValue(services_.store, QStringLiteral("Account"));
    sipAddress = ReadSavedValue(services_.store, QStringLiteral("Sip"));
    if (!password.isEmpty()) services_.store.Delete(QStringLiteral("Password"));
    if (!accountNumber.isEmpty()) services_.store.Delete(QStringLiteral("Account"));
    if (!sipAddress.isEmpty()) services_.store.Delete(QStringLiteral("Sip"));
}

void HandsetWindow::OnLoginAsTriggered() {
    LoadLoginSettings();
    EnableAccountProfile();
}

void HandsetWindow::OnCloseClicked() {
    RemoveTrayIcon();
    TerminateActiveCall();
    saveSetting = ReadSavedValue(services_.store, QStringLiteral("Save"));
    if (saveSetting == QLatin1String("no")) EraseProfile();
    close();
}

void HandsetWindow::OnEngineEvent(int code, const EngineEvent& event) {
    switch (code) {
        case kEventRegistrationState: OnRegistrationStateChange(event); break;
        case kEventSessionState: OnSessionStateChange(event); break;
        case kEventMedia: OnMediaEvent(event); break;
        default: break;
    }
}

void HandsetWindow::OnRegistrationStateChange(const EngineEvent& event) {
    if (event.state < 0 || event.state >= int(std::size(kRegistrationTable))) return;
    const RegistrationRow& row = kRegistrationTable[event.state];
    if (!row.regState) return;
    registrationState = QLatin1String(row.regState);
    statusLabel->setText(QLatin1String(row.statusLine));
}

void HandsetWindow::ShowIdleControls() {
    dialButton->setEnabled(true);
    clearButton->setEnabled(true);
    backButton->setEnabled(true);
    tuningButton->setEnabled(true);
    endButton->setEnabled(false);
    numberBox->setEnabled(true);
    callClock.stop();
}

void HandsetWindow::ShowInCallControls() {
    dialButton->setEnabled(false);
    clearButton->setEnabled(false);
    backButton->setEnabled(false);
    tuningButton->setEnabled(true);
    endButton->setEnabled(true);
    numberBox->setEnabled(false);
}

void HandsetWindow::TerminateActiveCall() {
    if (!CallActive()) return;
    try {
        session->Terminate(kTerminateShutdown);
    } catch (const std::exception&) {
        // The engine's own stop hangs up whatever is left.
    }
}

void HandsetWindow::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    session.reset();
    participant.reset();
    if (engine) engine->Shutdown();
}

void HandsetWindow::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void HandsetWindow::contextMenuEvent(QContextMenuEvent* event) {
    settingsMenu->popup(event->globalPos());
}

}  // namespace softphone
