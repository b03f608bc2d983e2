#include "app/HandsetWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QUrl>

#include "app/ModalWindows.h"
#include "dialer/KeyTable.h"
#include "dialer/Ringer.h"
#include "dialer/SoundPlayer.h"
#include "dialer/TrayPresence.h"
#include "dialer/VolumeSliders.h"
#include "records/SavedLogin.h"
#include "support/CentredToolTip.h"
#include "support/MessageBox.h"
#include "support/MixerLevels.h"
#include "support/NumberKeyFilter.h"
#include "support/PictureButton.h"
#include "support/Skin.h"
#include "support/Twips.h"
#include "support/WindowDrag.h"
#include "support/WindowShape.h"
#include "support/WrittenNumber.h"

namespace softphone {

// One picture button of the handset: its place, faces, tip (which also names it to assistive
// technology) and what a click does. The rows are in the order Tab takes them.
struct HandsetWindow::ButtonRow {
    const char* name;
    const char* caption;           // a dial key's character; else what it is called without a tip
    int left, top, width, height;  // twips
    const char* offFace;           // artwork; a dial key's faces carry its character
    const char* onFace;            // null: one picture, lit or not
    const char* tip;               // null: none
    void (HandsetWindow::*action)();  // null: a dial key, which types its character
};

const HandsetWindow::ButtonRow HandsetWindow::kButtons[] = {
    {"clearButton", "Clear", 2880, 1200, 570, 270, "clear-off", "clear-on",
     QT_TR_NOOP("Clear Current Number"), &HandsetWindow::onClearClicked},
    {"backButton", "Back", 2880, 1560, 585, 270, "back-off", "back-on",
     QT_TR_NOOP("Clear Current Number one by one"), &HandsetWindow::onBackClicked},
    {"recentButton", "R", 680, 2640, 405, 345, "recent-off", "recent-on", QT_TR_NOOP("Recent Call"),
     &HandsetWindow::onRecentClicked},
    {"phoneBookButton", "PB", 1590, 2640, 330, 315, "book-off", "book-on",
     QT_TR_NOOP("SoftPhone Book"), &HandsetWindow::onPhoneBookClicked},
    {"tuningButton", "AW", 2400, 2640, 360, 345, "wizard-off", "wizard-on",
     QT_TR_NOOP("Audio Wizard"), &HandsetWindow::onTuningClicked},
    {"loginButton", "AP", 3360, 2640, 330, 345, "pin-off", "pin-on", QT_TR_NOOP("Login Server"),
     &HandsetWindow::onLoginClicked},
    {"dialButton", "Dial", 360, 3480, 585, 780, "dial-off", "dial-on",
     QT_TR_NOOP("Click to Make Call"), &HandsetWindow::onDialClicked},
    {"dialKey1", "1", 1080, 3420, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey2", "2", 1860, 3420, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey3", "3", 2625, 3420, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey4", "4", 1080, 3855, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey5", "5", 1860, 3855, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey6", "6", 2625, 3855, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey7", "7", 1080, 4275, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey8", "8", 1860, 4275, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey9", "9", 2625, 4275, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKeyStar", "*", 1080, 4695, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKey0", "0", 1860, 4680, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"dialKeyPound", "#", 2625, 4695, 720, 405, "key-off", "key-on", nullptr, nullptr},
    {"endButton", "End", 3480, 3480, 600, 765, "end-off", "end-on", QT_TR_NOOP("Click to End Call"),
     &HandsetWindow::onEndClicked},
    {"hideButton", "-", 4035, 330, 180, 180, "hide", nullptr,
     QT_TR_NOOP("Hide Application to System Tray"), &HandsetWindow::onHideClicked},
    {"closeButton", "x", 3840, 140, 180, 180, "close", nullptr,
     QT_TR_NOOP("Close and Exit Application"), &HandsetWindow::onCloseClicked},
};

namespace {

// Reports a left click (press and release over the control) on a plain picture control.
class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* control, std::function<void()> onClick)
        : QObject(control), onClick_(std::move(onClick)) {
        control->installEventFilter(this);
        control->setCursor(Qt::PointingHandCursor);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* control = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            control->rect().contains(mouse->position().toPoint()))
            onClick_();
        return false;
    }

private:
    std::function<void()> onClick_;
};

QLabel* label(const char* name, QRect place, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

QAction* action(QMenu* menu, const QString& text, const char* name) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    return action;
}

}  // namespace

HandsetWindow::HandsetWindow(PhoneController& phone, Services services, QWidget* parent)
    : QWidget(parent), phone_(phone), services_(std::move(services)) {
    setObjectName(QStringLiteral("HandsetWindow"));
    setWindowTitle(tr("Softphone"));
    setWindowFlag(Qt::FramelessWindowHint);
    buildControls();
    buildMenus();
    applySkin();
    tray_ = new TrayPresence(this, std::move(services_.tray), trayMenu_);
    ringer_ = new Ringer(services_.ringer, this);
    wirePhone();
}

HandsetWindow::~HandsetWindow() { phone_.shutdown(); }

void HandsetWindow::buildControls() {
    auto* skin = label("skinLabel", twipsRect(0, 0, 4380, 5835), this);
    new WindowDrag(skin, this);

    for (const ButtonRow& row : kButtons) {
        auto* button = new PictureButton(QLatin1String(row.name), QString::fromUtf8(row.caption),
                                         twipsRect(row.left, row.top, row.width, row.height), this);
        if (row.tip) {
            setCentredToolTip(button, tr(row.tip));
            button->setAccessibleName(tr(row.tip));
        }
        if (row.action) {
            connect(button, &PictureButton::clicked, this, row.action);
        } else {
            const char key = row.caption[0];
            connect(button, &PictureButton::clicked, this, [this, key] { onDialKeyClicked(key); });
        }
    }

    auto* banner = label("bannerLink", twipsRect(1200, 400, 1815, 270), this);
    new ClickFilter(banner, [this] { onBannerClicked(); });
    statusLabel_ = label("statusLabel", twipsRect(1080, 960, 2295, 300), this);
    numberBox_ = new QComboBox(this);
    numberBox_->setObjectName(QStringLiteral("numberBox"));
    numberBox_->setEditable(true);
    numberBox_->setInsertPolicy(QComboBox::NoInsert);
    numberBox_->setGeometry(twipsRect(1080, 1200, 1800, 315));
    const QString numberTip = tr("Include International Country Code");
    setCentredToolTip(numberBox_, numberTip);
    numberBox_->setAccessibleName(numberTip);
    auto* filter = new NumberKeyFilter(numberBox_, NumberKeyFilter::Accepts::DialKeys);
    connect(filter, &NumberKeyFilter::typed, this, &HandsetWindow::onKeyTyped);
    connect(filter, &NumberKeyFilter::entered, this, &HandsetWindow::onEntered);
    connect(filter, &NumberKeyFilter::refused, this,
            [this] { showNumbersOnlyBox(services_.messages, this); });
    levelsPanel_ = new QFrame(this);
    levelsPanel_->setObjectName(QStringLiteral("levelsPanel"));
    levelsPanel_->setGeometry(twipsRect(1080, 1620, 1680, 480));
    balanceLabel_ = label("balanceLabel", twipsRect(1320, 2040, 1215, 255), this);
    label("speakerIcon", twipsRect(570, 1545, 240, 240), this);
    label("micIcon", twipsRect(570, 1785, 240, 240), this);
    label("signalIcon", twipsRect(585, 1005, 225, 165), this);
    // The tips show whether or not the handset is the active window.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    // Tab starts at the number field, which has the focus first, then takes the buttons.
    QWidget* previous = numberBox_;
    for (const ButtonRow& row : kButtons) {
        setTabOrder(previous, button(row.name));
        previous = button(row.name);
    }
}

void HandsetWindow::buildMenus() {
    settingsMenu_ = new QMenu(this);
    settingsMenu_->setObjectName(QStringLiteral("settingsMenu"));
    connect(action(settingsMenu_, tr("&Login As..."), "loginAsAction"), &QAction::triggered, this,
            &HandsetWindow::onLoginAsTriggered);
    QAction* pasteNumber = action(settingsMenu_, tr("&Paste Number"), "pasteNumberAction");
    connect(pasteNumber, &QAction::triggered, this,
            [this] { showWrittenNumber(QGuiApplication::clipboard()->text()); });
    // The number field's own menu (undo, cut, copy, paste) offers it too.
    QLineEdit* field = numberBox_->lineEdit();
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QWidget::customContextMenuRequested, this, [field, pasteNumber](QPoint at) {
        QMenu* menu = field->createStandardContextMenu();
        menu->setObjectName(QStringLiteral("numberFieldMenu"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        menu->addAction(pasteNumber);
        menu->popup(field->mapToGlobal(at));
    });
    connect(action(settingsMenu_, tr("&Network..."), "networkAction"), &QAction::triggered, this,
            &HandsetWindow::onNetworkTriggered);
    connect(action(settingsMenu_, tr("&Tuning Wizard"), "tuningAction"), &QAction::triggered, this,
            &HandsetWindow::onTuningClicked);
    // In a call; their shortcuts work wherever the focus is in the window.
    settingsMenu_->addSeparator();
    muteAction_ = action(settingsMenu_, tr("&Mute Microphone"), "muteAction");
    holdAction_ = action(settingsMenu_, tr("&Hold"), "holdAction");
    muteAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    holdAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    for (QAction* inCall : {muteAction_, holdAction_}) {
        inCall->setCheckable(true);
        inCall->setEnabled(false);
        addAction(inCall);
    }
    // Checked as the phone reports it, not as the click toggled it.
    connect(muteAction_, &QAction::triggered, this, [this](bool muted) {
        phone_.setMuted(muted);
        muteAction_->setChecked(phone_.muted());
    });
    connect(holdAction_, &QAction::triggered, this, [this](bool held) {
        phone_.setHeld(held);
        holdAction_->setChecked(phone_.hold().byPhone);
    });

    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("trayMenu"));
    trayMenu_->addActions(settingsMenu_->actions());
    trayMenu_->addSeparator();
    connect(action(trayMenu_, tr("Restore"), "restoreAction"), &QAction::triggered, this,
            &HandsetWindow::restoreFromTray);
}

void HandsetWindow::applySkin() {
    findChild<QLabel*>(QStringLiteral("skinLabel"))
        ->setPixmap(windowSkinPixmap(WindowSkin::Handset));
    for (const ButtonRow& row : kButtons) {
        PictureButton* face = button(row.name);
        if (!row.action)
            face->setFaces(dialKeyPixmap(face->text(), false), dialKeyPixmap(face->text(), true));
        else if (row.onFace)
            face->setFaces(artPixmap(QLatin1String(row.offFace)),
                           artPixmap(QLatin1String(row.onFace)));
        else
            face->setPicture(artPixmap(QLatin1String(row.offFace)));
    }
    findChild<QLabel*>(QStringLiteral("bannerLink"))
        ->setPixmap(artPixmap(QStringLiteral("banner")));
    for (const char* icon : {"speaker", "mic", "signal"}) {
        auto* picture = findChild<QLabel*>(QLatin1String(icon) + QLatin1String("Icon"));
        picture->setPixmap(artPixmap(QLatin1String(icon)));
        picture->setAlignment(Qt::AlignCenter);
    }

    // The status line, number field and balance are drawn on the skin's display.
    statusLabel_->setStyleSheet(QStringLiteral(
        "color: #d9f7ff; font: bold 9pt 'Liberation Sans'; background: transparent;"));
    balanceLabel_->setStyleSheet(
        QStringLiteral("color: #9fe7ff; font: 8pt 'Liberation Sans'; background: transparent;"));
    balanceLabel_->setAlignment(Qt::AlignCenter);
    numberBox_->setStyleSheet(
        QStringLiteral("QComboBox { background: rgba(3, 22, 28, 170); color: #f2fdff;"
                       " border: 1px solid #3a8fa3; border-radius: 4px; padding: 0 3px;"
                       " font: bold 10pt 'Liberation Mono'; selection-background-color: #3bb4e6; }"
                       "QComboBox:disabled { color: #9fc9d3; border-color: #24606e; }"
                       "QComboBox::drop-down { width: 0; border: none; }"));
    levelsPanel_->setFrameShape(QFrame::NoFrame);
}

void HandsetWindow::wirePhone() {
    connect(&phone_, &PhoneController::registrationChanged, this, &HandsetWindow::showRegistration);
    connect(&phone_, &PhoneController::callStateChanged, this, &HandsetWindow::showCallState);
    connect(&phone_, &PhoneController::callSecondsChanged, this, [this](int seconds) {
        if (seconds > 0)
            statusLabel_->setText(tr("CONNECTED %1:%2:%3")
                                      .arg(seconds / 3600)
                                      .arg(seconds / 60 % 60)
                                      .arg(seconds % 60));
    });
    connect(&phone_, &PhoneController::controlsChanged, this, &HandsetWindow::showControls);
    connect(&phone_, &PhoneController::callerChanged, this, &HandsetWindow::setNumber);
    connect(&phone_, &PhoneController::failed, this, &HandsetWindow::showFailure);
    connect(&phone_, &PhoneController::ringingChanged, ringer_, &Ringer::setRinging);
    connect(&phone_, &PhoneController::incomingCall, tray_, &TrayPresence::announceIncomingCall);
    connect(&phone_, &PhoneController::missedCall, tray_, &TrayPresence::announceMissedCall);
    connect(&phone_, &PhoneController::numberRecalled, this, &HandsetWindow::setNumber);
    connect(&phone_, &PhoneController::mutedChanged, this, [this](bool muted) {
        muteAction_->setChecked(muted);
        showCallFeatures();
    });
    connect(&phone_, &PhoneController::holdChanged, this, [this](Hold hold) {
        holdAction_->setChecked(hold.byPhone);
        showCallFeatures();
    });
    connect(&phone_, &PhoneController::poorLineChanged, this, &HandsetWindow::showCallFeatures);
    setCentredToolTip(statusLabel_, {});
    connect(&phone_, &PhoneController::lineChanged, this, &HandsetWindow::showLine);
}

PictureButton* HandsetWindow::button(const char* name) const {
    return findChild<PictureButton*>(QLatin1String(name));
}

QString HandsetWindow::number() const { return numberBox_->currentText(); }

void HandsetWindow::setNumber(const QString& number) { numberBox_->setEditText(number); }

void HandsetWindow::start() {
    showControls(PhoneController::Controls::Idle);
    setFixedSize(twipsToPixels(4450), twipsToPixels(6540));
    statusLabel_->setText(tr("Not logged in..."));
    mixerLevels_ =
        std::make_unique<MixerLevels>(std::move(services_.mixer), services_.messages, this);
    volumeSliders_ = new VolumeSliders(levelsPanel_, *mixerLevels_);
    connect(volumeSliders_, &VolumeSliders::releaseSoundWanted, this,
            [this](const QString& path) { services_.speaker.playFileIfIdle(path); });
    shapeWindowToPicture(this, windowSkinPicture(WindowSkin::Handset),
                         QColor::fromRgb(kSkinKeyColor));
    // Leaving the dialog without logging in, by EXIT, Escape or its close button, ends the
    // program: going on would register whatever happens to be stored, or nothing.
    if (services_.windows.showLogin(this) != LoginOutcome::LoggedIn) {
        exitApplication();
        return;
    }
    phone_.start(savedAccount());
}

AccountSettings HandsetWindow::savedAccount() const {
    const SavedLogin login = SavedLogin::read(services_.store);
    return {login.account, login.password, login.sip, {}, readNetworkSettings(services_.store)};
}

void HandsetWindow::showControls(PhoneController::Controls controls) {
    const bool idle = controls != PhoneController::Controls::InCall;
    for (const char* name : {"dialButton", "clearButton", "backButton"})
        button(name)->setEnabled(idle);
    numberBox_->setEnabled(idle);
    button("tuningButton")->setEnabled(true);
    button("endButton")->setEnabled(controls != PhoneController::Controls::Idle);
}

// Why the phone takes no calls, for the tray icon's tip.
QString HandsetWindow::unregisteredReason(RegistrationState state) {
    switch (state) {
        case RegistrationState::Registered: return {};
        case RegistrationState::NotRegistered: return tr("not logged in");
        case RegistrationState::Registering: return tr("registering");
        case RegistrationState::Rejected: return tr("password refused");
        case RegistrationState::Unregistering: return tr("logging off");
        case RegistrationState::Failed: return tr("server unreachable");
        case RegistrationState::LoggedOff: return tr("logged off");
    }
    return {};
}

void HandsetWindow::showRegistration(RegistrationState state) {
    tray_->showRegistration(state == RegistrationState::Registered, unregisteredReason(state));
    switch (state) {
        case RegistrationState::NotRegistered: statusLabel_->setText(tr("Not Registered")); break;
        case RegistrationState::Registering: statusLabel_->setText(tr("Registering")); break;
        case RegistrationState::Registered:
            statusLabel_->setText(tr("Registered and Ready..."));
            break;
        case RegistrationState::Rejected: statusLabel_->setText(tr("Rejected")); break;
        case RegistrationState::LoggedOff: statusLabel_->setText(tr("Logged off.")); break;
        // The line keeps what it shows.
        case RegistrationState::Unregistering:
        case RegistrationState::Failed: break;
    }
}

void HandsetWindow::showCallState(SessionState state) {
    for (QAction* inCall : {muteAction_, holdAction_})
        inCall->setEnabled(state == SessionState::Connected);
    if (state == SessionState::Disconnected) statusLabel_->setToolTip({});
    switch (state) {
        case SessionState::Idle: statusLabel_->setText(tr("IDLE")); break;
        case SessionState::Incoming: statusLabel_->setText(tr("INCOMING")); break;
        case SessionState::Answering: statusLabel_->setText(tr("ANSWERING")); break;
        case SessionState::InProgress: statusLabel_->setText(tr("INPROGRESS")); break;
        case SessionState::Connected: statusLabel_->setText(tr("CONNECTED")); break;
        case SessionState::Disconnected:
            statusLabel_->setText(phone_.endCause() == EndCause::PlainMediaRefused
                                      ? tr("Refused: the far end offers no encrypted audio")
                                      : tr("DISCONNECTED"));
            break;
    }
}

// The balance label, empty in a call otherwise, tells what the user cannot hear for themselves.
void HandsetWindow::showCallFeatures() {
    const Hold hold = phone_.hold();
    balanceLabel_->setText(hold.byPhone        ? tr("ON HOLD")
                           : hold.byFarEnd     ? tr("HELD BY FAR END")
                           : phone_.muted()    ? tr("MUTED")
                           : phone_.poorLine() ? tr("POOR LINE")
                                               : QString());
}

void HandsetWindow::showLine(const LineStats& line) {
    statusLabel_->setToolTip(
        tr("Codec: %1\nPacket loss: %2 %\nJitter: %3 ms\nRound trip: %4 ms\n%5")
            .arg(line.codec.isEmpty() ? tr("none yet") : line.codec)
            .arg(line.lossPercent, 0, 'f', 1)
            .arg(line.jitterMs, 0, 'f', 0)
            .arg(line.roundTripMs, 0, 'f', 0)
            .arg(line.encrypted ? tr("Audio encrypted") : tr("Audio not encrypted")));
}

void HandsetWindow::showFailure(const PhoneFailure& failure) {
    IMessageBox& messages = services_.messages;
    switch (failure.kind) {
        case PhoneFailure::Kind::StartUp:
            messages.show(this, tr("An Error Occured and has been logged. FORMLOAD"));
            break;
        case PhoneFailure::Kind::NotRegistered:
            messages.show(this, tr("Sorry, you are not registered, please select Menu - LoginAs"));
            break;
        case PhoneFailure::Kind::NotAKey: showNumbersOnlyBox(messages, this); break;
        case PhoneFailure::Kind::Call:
            statusLabel_->setText(QStringLiteral("Error:  ") + QString::number(failure.code));
            break;
        case PhoneFailure::Kind::HangUp:
            statusLabel_->setText(QStringLiteral("Error:  ") + failure.description);
            break;
        case PhoneFailure::Kind::CertificateRefused:
            statusLabel_->setText(tr("Certificate refused"));
            messages.show(this,
                          tr("The server's certificate was refused: %1").arg(failure.description));
            break;
    }
}

void HandsetWindow::onDialClicked() { phone_.dial(number()); }

void HandsetWindow::onEndClicked() { phone_.end(number()); }

void HandsetWindow::onDialKeyClicked(char key) {
    phone_.pressKey(*keyForCharacter(QLatin1Char(key)));
    setNumber(number() + QLatin1Char(key));
}

void HandsetWindow::onKeyTyped(QChar key) { phone_.pressKey(*keyForCharacter(key)); }

// Enter calls a number of ten characters or more.
void HandsetWindow::onEntered() {
    if (number().size() >= 10) phone_.placeCall(number());
}

void HandsetWindow::onClearClicked() {
    statusLabel_->setText(tr("Ready..."));
    setNumber(QString());
    numberBox_->setFocus();
}

void HandsetWindow::onBackClicked() {
    QString text = number();
    if (text.isEmpty()) return;
    text.chop(1);
    setNumber(text);
}

void HandsetWindow::onRecentClicked() {
    tray_->forgetMissedCalls();
    if (const auto chosen = services_.windows.showRecentCalls(this)) setNumber(*chosen);
}

void HandsetWindow::onPhoneBookClicked() {
    if (const auto chosen = services_.windows.showPhoneBook(this)) setNumber(*chosen);
}

void HandsetWindow::onTuningClicked() {
    if (!services_.windows.showTuningWizard(this)) services_.messages.show(this, tr("Error"));
}

// The login button only shows the dialog: what is typed there counts from the next start or
// the next Login As.
void HandsetWindow::onLoginClicked() {
    if (services_.windows.showLogin(this) == LoginOutcome::Exited)
        balanceLabel_->setText(tr("EXITING"));
}

// Whichever way the dialog is left, the phone registers the saved account again.
void HandsetWindow::onLoginAsTriggered() {
    onLoginClicked();
    phone_.logIn(savedAccount());
}

void HandsetWindow::onNetworkTriggered() {
    const auto chosen = services_.windows.showNetwork(this, readNetworkSettings(services_.store));
    if (!chosen) return;
    writeNetworkSettings(services_.store, *chosen);
    phone_.logIn(savedAccount());
}

void HandsetWindow::onHideClicked() { tray_->toggle(); }

void HandsetWindow::restoreFromTray() { tray_->restore(); }

void HandsetWindow::showWrittenNumber(const QString& written) {
    const CleanNumber clean =
        cleanNumber(written, readNetworkSettings(services_.store).internationalPrefix);
    if (clean)
        setNumber(clean.number);
    else if (clean.refusal != NumberRefusal::Empty)
        showNumbersOnlyBox(services_.messages, this);
}

void HandsetWindow::onBannerClicked() {
    QDesktopServices::openUrl(QUrl(QStringLiteral(SOFTPHONE_VENDOR_URL)));
}

void HandsetWindow::exitApplication() {
    tray_->remove();
    phone_.hangUpForExit();
    ended_ = true;
    close();
    QCoreApplication::exit(0);
}

void HandsetWindow::onCloseClicked() {
    tray_->remove();
    phone_.hangUpForExit();
    forgetUnsavedLogin(services_.store);
    close();
}

void HandsetWindow::closeEvent(QCloseEvent* event) {
    phone_.shutdown();
    event->accept();
}

void HandsetWindow::contextMenuEvent(QContextMenuEvent* event) {
    settingsMenu_->popup(event->globalPos());
}

}  // namespace softphone
