#include "app/frmSoftphone.h"

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

frmSoftphone::frmSoftphone(Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    BuildControls();
    WireCallControls();
    WireDeskControls();
    // The login button only shows the dialog: what is typed there counts from the next start
    // or the next Login As.
    connect(Picture2, &PictureButton::clicked, this,
            [this] { services_.windows.ShowLogin(*this); });
    connect(Picture3, &PictureButton::clicked, this, [this] {
        ForgetMissedCalls();
        services_.windows.ShowRecentCalls(*this);
    });
    connect(Picture11, &PictureButton::clicked, this,
            [this] { services_.windows.ShowPhoneBook(*this); });
}

frmSoftphone::~frmSoftphone() { Unload(); }

void frmSoftphone::FormLoad() {
    try {
        strRegState = kNotRegistered;
        ShowIdleControls();
        strAccount.clear();
        strPassword.clear();
        setFixedSize(TwipsToPixels(4450), TwipsToPixels(6540));
        RoundWindow();
        lblMsg->setText(QStringLiteral("Not logged in..."));
        AttachTooltips();
        PrepareVolumeSliders();
        ShapeWindow();
        // Leaving the dialog without logging in, by EXIT, Escape or its close button, ends the
        // program: going on would register whatever happens to be stored, or nothing.
        if (!LoadLoginSettings()) {
            ExitApplication();
            return;
        }
        if (strPassword.isEmpty()) strPassword = strAccount;
        InitializeClient();
        EnableAccountProfile();
    } catch (const std::exception&) {
        ShowFormLoadError();
    }
}

void frmSoftphone::ShowFormLoadError() {
    services_.messages.Show(this, QStringLiteral("An Error Occured and has been logged. FORMLOAD"));
}

bool frmSoftphone::LoadLoginSettings() {
    const bool loggedIn = services_.windows.ShowLogin(*this);
    strPassword = ReadSavedValue(services_.store, QStringLiteral("Password"));
    strAccount = ReadSavedValue(services_.store, QStringLiteral("Account"));
    strSip = ReadSavedValue(services_.store, QStringLiteral("Sip"));
    return loggedIn;
}

void frmSoftphone::ExitApplication() {
    RemoveTrayIcon();
    TerminateActiveCall();
    ended_ = true;
    close();
    QCoreApplication::exit(0);
}

void frmSoftphone::InitializeClient() {
    try {
        if (!services_.createEngine)
            throw EngineError(kErrorEngineUnavailable, QStringLiteral("No SIP engine"));
        objClient = services_.createEngine();
        if (!objClient) throw EngineError(kErrorEngineUnavailable, QStringLiteral("No SIP engine"));
        objClient->Initialize();
        objClient->SetEventFilter(kEventFilterAll);
        objClient->SetEventSink([this](int code, const EngineEvent& event) {
            g_objRTCClientWithEvents_Event(code, event);
        });
        objClient->SetListenForIncomingSessions(kListenBothPorts);
        objClient->SetPreferredMediaTypes(kMediaAudioSendReceive, true);
    } catch (const std::exception&) {
        ShowFormLoadError();
    }
}

void frmSoftphone::EnableAccountProfile() {
    try {
        strServer = strSip;
        strProfileXML = BuildProfileXml(strAccount, strPassword, strServer, strDisplayName);
        if (!objClient) throw EngineError(kErrorEngineUnavailable, QStringLiteral("No SIP engine"));
        std::shared_ptr<IProfile> profile = objClient->CreateProfile(strProfileXML);
        // The engine swaps the earlier account for this one only once it accepts it: a refused
        // login leaves the registration, and the status that tells of it, as they were.
        objClient->EnableProfile(profile, kRegisterAll);
        objProfile = profile;
    } catch (const std::exception&) {
        ShowFormLoadError();
    }
}

void frmSoftphone::EraseProfile() {
    strPassword = ReadSavedValue(services_.store, QStringLiteral("Password"));
    strAccount = ReadSavedValue(services_.store, QStringLiteral("Account"));
    strSip = ReadSavedValue(services_.store, QStringLiteral("Sip"));
    if (!strPassword.isEmpty()) services_.store.Delete(QStringLiteral("Password"));
    if (!strAccount.isEmpty()) services_.store.Delete(QStringLiteral("Account"));
    if (!strSip.isEmpty()) services_.store.Delete(QStringLiteral("Sip"));
}

void frmSoftphone::mnuLoginAs_Click() {
    LoadLoginSettings();
    EnableAccountProfile();
}

void frmSoftphone::Picture40_Click() {
    RemoveTrayIcon();
    TerminateActiveCall();
    strSave = ReadSavedValue(services_.store, QStringLiteral("Save"));
    if (strSave == QLatin1String("no")) EraseProfile();
    close();
}

void frmSoftphone::g_objRTCClientWithEvents_Event(int code, const EngineEvent& event) {
    switch (code) {
        case kEventRegistrationState: OnRegistrationStateChange(event); break;
        case kEventSessionState: OnSessionStateChange(event); break;
        case kEventMedia: OnMediaEvent(event); break;
        default: break;
    }
}

void frmSoftphone::OnRegistrationStateChange(const EngineEvent& event) {
    if (event.state < 0 || event.state >= int(std::size(kRegistrationTable))) return;
    const RegistrationRow& row = kRegistrationTable[event.state];
    if (!row.regState) return;
    strRegState = QLatin1String(row.regState);
    lblMsg->setText(QLatin1String(row.statusLine));
}

void frmSoftphone::ShowIdleControls() {
    Picture6->setEnabled(true);
    Picture16->setEnabled(true);
    Picture17->setEnabled(true);
    Picture13->setEnabled(true);
    Picture8->setEnabled(false);
    cmbPhoneNo->setEnabled(true);
    tmrConnected.stop();
}

void frmSoftphone::ShowInCallControls() {
    Picture6->setEnabled(false);
    Picture16->setEnabled(false);
    Picture17->setEnabled(false);
    Picture13->setEnabled(true);
    Picture8->setEnabled(true);
    cmbPhoneNo->setEnabled(false);
}

void frmSoftphone::TerminateActiveCall() {
    if (!CallActive()) return;
    try {
        objSession->Terminate(kTerminateShutdown);
    } catch (const std::exception&) {
        // The engine's own stop hangs up whatever is left.
    }
}

void frmSoftphone::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    objSession.reset();
    objParticipant.reset();
    if (objClient) objClient->Shutdown();
}

void frmSoftphone::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void frmSoftphone::contextMenuEvent(QContextMenuEvent* event) {
    mnuSettings->popup(event->globalPos());
}

}  // namespace softphone
