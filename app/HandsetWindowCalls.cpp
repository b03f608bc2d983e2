// The call state machine of the handset window: engine session events, the connected-time
// display, placing, answering and ending calls, and the dial keys.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <utility>

#include "app/CallerNumber.h"
#include "app/HandsetWindow.h"
#include "dialer/KeyTable.h"
#include "dialer/NumberKeyFilter.h"
#include "dialer/SoundPlayer.h"
#include "records/RecentCalls.h"
#include "support/MessageBox.h"
#include "support/PictureButton.h"

namespace softphone {
namespace {

// Runs one step of an event handler; a failing step is skipped and the handler goes on.
template <typename Step>
void Skippable(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

void HandsetWindow::WireCallControls() {
    connect(&callClock, &QTimer::timeout, this, &HandsetWindow::OnCallClockTick);
    connect(&ringRepeat, &QTimer::timeout, this, &HandsetWindow::OnRingRepeat);
    connect(dialButton, &PictureButton::clicked, this, &HandsetWindow::OnDialClicked);
    connect(endButton, &PictureButton::clicked, this, &HandsetWindow::OnEndClicked);
    connect(clearButton, &PictureButton::clicked, this, &HandsetWindow::OnClearClicked);
    connect(backButton, &PictureButton::clicked, this, &HandsetWindow::OnBackClicked);
    for (int i = 0; i < int(dialKeys.size()); ++i)
        connect(dialKeys[size_t(i)], &PictureButton::clicked, this,
                [this, i] { OnDialKeyClicked(i); });
    numberFilter_ = new NumberKeyFilter(numberBox, *this);
}

bool HandsetWindow::CallActive() const {
    if (!session) return false;
    const int state = session->State();
    return state >= kSessionIncoming && state <= kSessionConnected;
}

bool HandsetWindow::CallInState(int state) const {
    return session && session->State() == state;
}

void HandsetWindow::OnSessionStateChange(const EngineEvent& event) {
    const int state = event.state;
    if (state < kSessionIdle || state > kSessionDisconnected) return;
    const bool current = event.session == session;
    if (state == kSessionIncoming && !current && CallActive()) {
        // One call at a time: a further caller hears busy and the live call is untouched.
        Skippable([&] { event.session->Terminate(kTerminateBusy); });
        RecordMissedCall(CallerNumber(event.session->RemoteParty()));
        return;
    }
    // Late events of a call that is no longer the window's own must not touch this one.
    if (state != kSessionIncoming && !current) return;

    switch (state) {
        case kSessionIdle: statusLabel->setText(QStringLiteral("IDLE")); break;
        case kSessionIncoming: {
            statusLabel->setText(QStringLiteral("INCOMING"));
            Skippable([&] { engine->PlayRing(kRingPhone, true); });
            session = event.session;
            unanswered_ = true;
            ringRepeat.start();
            endButton->setEnabled(true);
            // The user sees who calls, and the call history names the caller.
            const QString caller = CallerNumber(event.session->RemoteParty());
            numberBox->setEditText(caller);
            NotifyIncomingCall(caller);
            break;
        }
        case kSessionAnswering:
            statusLabel->setText(QStringLiteral("ANSWERING"));
            unanswered_ = false;
            ringRepeat.stop();
            Skippable([&] { engine->PlayRing(kRingPhone, false); });
            break;
        case kSessionInProgress: statusLabel->setText(QStringLiteral("INPROGRESS")); break;
        case kSessionConnected:
            statusLabel->setText(QStringLiteral("CONNECTED"));
            seconds = minutes = hours = 0;
            callClock.start();
            ShowInCallControls();
            tmrInprogressRing.stop();
            break;
        case kSessionDisconnected: {
            session.reset();
            participant.reset();
            tmrInprogressRing.stop();
            statusLabel->setText(QStringLiteral("DISCONNECTED"));
            // A caller who gives up while it rings takes the ring with them.
            if (ringRepeat.isActive())
                Skippable([&] { engine->PlayRing(kRingPhone, false); });
            ringRepeat.stop();
            ShowIdleControls();
            // The caller gave up before anyone answered.
            if (std::exchange(unanswered_, false))
                RecordMissedCall(CallerNumber(event.session->RemoteParty()));
            break;
        }
    }
}

void HandsetWindow::OnMediaEvent(const EngineEvent&) {
    // Media starts and stops with the call; the window shows nothing of it.
}

void HandsetWindow::OnCallClockTick() {
    if (++seconds == 60) {
        seconds = 0;
        ++minutes;
    }
    if (minutes == 60) {
        minutes = 0;
        ++hours;
    }
    statusLabel->setText(
        QStringLiteral("CONNECTED %1:%2:%3").arg(hours).arg(minutes).arg(seconds));
}

void HandsetWindow::OnRingRepeat() {
    Skippable([&] { engine->PlayRing(kRingPhone, true); });
}

void HandsetWindow::ShowCallError(const std::exception& error, bool byDescription) {
    const auto* engineError = dynamic_cast<const EngineError*>(&error);
    QString detail;
    if (byDescription)
        detail = engineError ? engineError->Description() : QString::fromUtf8(error.what());
    else
        detail = QString::number(engineError ? engineError->Number() : kErrorEngineUnavailable);
    statusLabel->setText(QStringLiteral("Error:  ") + detail);
}

void HandsetWindow::OnDialClicked() {
    // Whatever the status line shows now (a registration event may have overwritten it), a
    // ringing call is answered.
    if (!CallInState(kSessionIncoming)) {
        PlaceCall();
        return;
    }
    unanswered_ = false;
    try {
        if (!session) throw EngineError(kErrorNoCall, QStringLiteral("No call"));
        session->Answer();
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
    try {
        engine->PlayRing(kRingPhone, false);
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
}

void HandsetWindow::PlaceCall() {
    // One call at a time: Enter or Dial must not orphan a call that rings or runs.
    if (CallActive()) return;
    if (registrationState != QLatin1String("REGISTERED")) {
        services_.messages.Show(
            this, QStringLiteral("Sorry, you are not registered, please select Menu - LoginAs"));
        return;
    }
    const QString number = numberBox->currentText();
    for (char32_t c : number.toUcs4()) {
        const DialKey* key = c < 0x80 ? KeyForCharacter(QChar(c)) : nullptr;
        if (key) {
            PlayKeyTone(QLatin1String(key->toneName));
        } else if (c != 8) {
            ShowNumbersOnlyError();
        }
        // The tones keep sounding in the player's own thread while this one waits.
        QThread::msleep(100);
    }
    const QString destination = QStringLiteral("sip:") + number + QLatin1Char('@') + server;
    bool started = true;
    try {
        engine->SetMaxBitrate(60000);
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
    try {
        session = number.size() == 10 ? engine->CreateSession(kSessionPcToPc, nullptr, 0)
                                         : engine->CreateSession(kSessionPcToPhone, account,
                                                                    kSessionForceProfile);
    } catch (const std::exception& error) {
        ShowCallError(error);
        started = false;
    }
    try {
        if (!session) throw EngineError(kErrorCallNotCreated, QStringLiteral("No session"));
        participant = session->AddParticipant(destination, QStringLiteral("Any Name"));
    } catch (const std::exception& error) {
        ShowCallError(error);
        started = false;
    }
    if (started) {
        ShowInCallControls();
        return;
    }
    // Nothing to end: the error stays on the status line and the idle controls come back.
    session.reset();
    participant.reset();
    ShowIdleControls();
}

void HandsetWindow::OnEndClicked() {
    unanswered_ = false;
    UpdateRecentCalls();
    if (!session) {
        ShowIdleControls();
        return;
    }
    const bool ringing = CallInState(kSessionIncoming);
    try {
        session->Terminate(ringing ? kTerminateReject : kTerminateNormal);
    } catch (const std::exception& error) {
        ShowCallError(error, true);
    }
    // The ring stops even when the engine could not reject the call.
    if (ringing) {
        ringRepeat.stop();
        try {
            engine->PlayRing(kRingPhone, false);
        } catch (const std::exception& error) {
            ShowCallError(error, true);
        }
    }
}

void HandsetWindow::UpdateRecentCalls() {
    softphone::UpdateRecentCalls(numberBox->currentText(), hours, minutes, seconds);
}

void HandsetWindow::PlayKeyTone(const QString& toneName) {
    if (CallInState(kSessionConnected)) {
        if (const DialKey* key = KeyForToneName(toneName))
            Skippable([&] { engine->SendDTMF(key->dtmfCode); });
        return;
    }
    Skippable([&] { services_.player.PlayTone(toneName); });
}

void HandsetWindow::ShowNumbersOnlyError() {
    services_.messages.Show(this, QStringLiteral("Numbers 0 to 9 only, please!"),
                            QStringLiteral("Input Error"), MessageIcon::Exclamation);
}

void HandsetWindow::OnDialKeyClicked(int index) {
    const DialKey& key = kKeyTable[size_t(index)];
    PlayKeyTone(QLatin1String(key.toneName));
    numberBox->setEditText(numberBox->currentText() + QLatin1Char(key.key));
}

void HandsetWindow::OnClearClicked() {
    statusLabel->setText(QStringLiteral("Ready..."));
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
