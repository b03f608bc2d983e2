// The call state machine of the handset window: engine session events, the connected-time
// display, placing, answering and ending calls, and the dial keys.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <utility>

#include "app/CallerNumber.h"
#include "app/frmSoftphone.h"
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

void frmSoftphone::WireCallControls() {
    connect(&tmrConnected, &QTimer::timeout, this, &frmSoftphone::tmrConnected_Timer);
    connect(&tmrIncomingRing, &QTimer::timeout, this, &frmSoftphone::tmrIncomingRing_Timer);
    connect(Picture6, &PictureButton::clicked, this, &frmSoftphone::Picture6_Click);
    connect(Picture8, &PictureButton::clicked, this, &frmSoftphone::Picture8_Click);
    connect(Picture16, &PictureButton::clicked, this, &frmSoftphone::Picture16_Click);
    connect(Picture17, &PictureButton::clicked, this, &frmSoftphone::Picture17_Click);
    for (int i = 0; i < int(DialKeys.size()); ++i)
        connect(DialKeys[size_t(i)], &PictureButton::clicked, this,
                [this, i] { DialKey_Click(i); });
    numberFilter_ = new NumberKeyFilter(cmbPhoneNo, *this);
}

bool frmSoftphone::CallActive() const {
    if (!objSession) return false;
    const int state = objSession->State();
    return state >= kSessionIncoming && state <= kSessionConnected;
}

bool frmSoftphone::CallInState(int state) const {
    return objSession && objSession->State() == state;
}

void frmSoftphone::OnSessionStateChange(const EngineEvent& event) {
    const int state = event.state;
    if (state < kSessionIdle || state > kSessionDisconnected) return;
    const bool current = event.session == objSession;
    if (state == kSessionIncoming && !current && CallActive()) {
        // One call at a time: a further caller hears busy and the live call is untouched.
        Skippable([&] { event.session->Terminate(kTerminateBusy); });
        RecordMissedCall(CallerNumber(event.session->RemoteParty()));
        return;
    }
    // Late events of a call that is no longer the window's own must not touch this one.
    if (state != kSessionIncoming && !current) return;

    switch (state) {
        case kSessionIdle: lblMsg->setText(QStringLiteral("IDLE")); break;
        case kSessionIncoming: {
            lblMsg->setText(QStringLiteral("INCOMING"));
            Skippable([&] { objClient->PlayRing(kRingPhone, true); });
            objSession = event.session;
            unanswered_ = true;
            tmrIncomingRing.start();
            Picture8->setEnabled(true);
            // The user sees who calls, and the call history names the caller.
            const QString caller = CallerNumber(event.session->RemoteParty());
            cmbPhoneNo->setEditText(caller);
            NotifyIncomingCall(caller);
            break;
        }
        case kSessionAnswering:
            lblMsg->setText(QStringLiteral("ANSWERING"));
            unanswered_ = false;
            tmrIncomingRing.stop();
            Skippable([&] { objClient->PlayRing(kRingPhone, false); });
            break;
        case kSessionInProgress: lblMsg->setText(QStringLiteral("INPROGRESS")); break;
        case kSessionConnected:
            lblMsg->setText(QStringLiteral("CONNECTED"));
            intSeconds = intMinutes = intHours = 0;
            tmrConnected.start();
            ShowInCallControls();
            tmrInprogressRing.stop();
            break;
        case kSessionDisconnected: {
            objSession.reset();
            objParticipant.reset();
            tmrInprogressRing.stop();
            lblMsg->setText(QStringLiteral("DISCONNECTED"));
            // A caller who gives up while it rings takes the ring with them.
            if (tmrIncomingRing.isActive())
                Skippable([&] { objClient->PlayRing(kRingPhone, false); });
            tmrIncomingRing.stop();
            ShowIdleControls();
            // The caller gave up before anyone answered.
            if (std::exchange(unanswered_, false))
                RecordMissedCall(CallerNumber(event.session->RemoteParty()));
            break;
        }
    }
}

void frmSoftphone::OnMediaEvent(const EngineEvent&) {
    // Media starts and stops with the call; the window shows nothing of it.
}

void frmSoftphone::tmrConnected_Timer() {
    if (++intSeconds == 60) {
        intSeconds = 0;
        ++intMinutes;
    }
    if (intMinutes == 60) {
        intMinutes = 0;
        ++intHours;
    }
    lblMsg->setText(
        QStringLiteral("CONNECTED %1:%2:%3").arg(intHours).arg(intMinutes).arg(intSeconds));
}

void frmSoftphone::tmrIncomingRing_Timer() {
    Skippable([&] { objClient->PlayRing(kRingPhone, true); });
}

void frmSoftphone::ShowCallError(const std::exception& error, bool byDescription) {
    const auto* engineError = dynamic_cast<const EngineError*>(&error);
    QString detail;
    if (byDescription)
        detail = engineError ? engineError->Description() : QString::fromUtf8(error.what());
    else
        detail = QString::number(engineError ? engineError->Number() : kErrorEngineUnavailable);
    lblMsg->setText(QStringLiteral("Error:  ") + detail);
}

void frmSoftphone::Picture6_Click() {
    // Whatever the status line shows now (a registration event may have overwritten it), a
    // ringing call is answered.
    if (!CallInState(kSessionIncoming)) {
        PlaceCall();
        return;
    }
    unanswered_ = false;
    try {
        if (!objSession) throw EngineError(kErrorNoCall, QStringLiteral("No call"));
        objSession->Answer();
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
    try {
        objClient->PlayRing(kRingPhone, false);
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
}

void frmSoftphone::PlaceCall() {
    // One call at a time: Enter or Dial must not orphan a call that rings or runs.
    if (CallActive()) return;
    if (strRegState != QLatin1String("REGISTERED")) {
        services_.messages.Show(
            this, QStringLiteral("Sorry, you are not registered, please select Menu - LoginAs"));
        return;
    }
    const QString number = cmbPhoneNo->currentText();
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
    const QString destination = QStringLiteral("sip:") + number + QLatin1Char('@') + strServer;
    bool started = true;
    try {
        objClient->SetMaxBitrate(60000);
    } catch (const std::exception& error) {
        ShowCallError(error);
    }
    try {
        objSession = number.size() == 10 ? objClient->CreateSession(kSessionPcToPc, nullptr, 0)
                                         : objClient->CreateSession(kSessionPcToPhone, objProfile,
                                                                    kSessionForceProfile);
    } catch (const std::exception& error) {
        ShowCallError(error);
        started = false;
    }
    try {
        if (!objSession) throw EngineError(kErrorCallNotCreated, QStringLiteral("No session"));
        objParticipant = objSession->AddParticipant(destination, QStringLiteral("Any Name"));
    } catch (const std::exception& error) {
        ShowCallError(error);
        started = false;
    }
    if (started) {
        ShowInCallControls();
        return;
    }
    // Nothing to end: the error stays on the status line and the idle controls come back.
    objSession.reset();
    objParticipant.reset();
    ShowIdleControls();
}

void frmSoftphone::Picture8_Click() {
    unanswered_ = false;
    UpdateRecentCalls();
    if (!objSession) {
        ShowIdleControls();
        return;
    }
    const bool ringing = CallInState(kSessionIncoming);
    try {
        objSession->Terminate(ringing ? kTerminateReject : kTerminateNormal);
    } catch (const std::exception& error) {
        ShowCallError(error, true);
    }
    // The ring stops even when the engine could not reject the call.
    if (ringing) {
        tmrIncomingRing.stop();
        try {
            objClient->PlayRing(kRingPhone, false);
        } catch (const std::exception& error) {
            ShowCallError(error, true);
        }
    }
}

void frmSoftphone::UpdateRecentCalls() {
    softphone::UpdateRecentCalls(cmbPhoneNo->currentText(), intHours, intMinutes, intSeconds);
}

void frmSoftphone::PlayKeyTone(const QString& toneName) {
    if (CallInState(kSessionConnected)) {
        if (const DialKey* key = KeyForToneName(toneName))
            Skippable([&] { objClient->SendDTMF(key->dtmfCode); });
        return;
    }
    Skippable([&] { services_.player.PlayTone(toneName); });
}

void frmSoftphone::ShowNumbersOnlyError() {
    services_.messages.Show(this, QStringLiteral("Numbers 0 to 9 only, please!"),
                            QStringLiteral("Input Error"), MessageIcon::Exclamation);
}

void frmSoftphone::DialKey_Click(int index) {
    const DialKey& key = kKeyTable[size_t(index)];
    PlayKeyTone(QLatin1String(key.toneName));
    cmbPhoneNo->setEditText(cmbPhoneNo->currentText() + QLatin1Char(key.key));
}

void frmSoftphone::Picture16_Click() {
    lblMsg->setText(QStringLiteral("Ready..."));
    cmbPhoneNo->setEditText(QString());
    cmbPhoneNo->setFocus();
}

void frmSoftphone::Picture17_Click() {
    QString text = cmbPhoneNo->currentText();
    if (text.isEmpty()) return;
    text.chop(1);
    cmbPhoneNo->setEditText(text);
}

}  // namespace softphone
