// The handset over a fake engine: the status line and controls per state, the dial pad, the
// number field and the links, the tray, the in-call items, the level sliders over a fake sound
// card, and the tuning wizard over fake devices (its OK and calibration result: MixerPulseTest).
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "dialer/TuningWizard.h"
#include "dialer/VolumeSliders.h"
#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

using S = SessionState;
using R = RegistrationState;

// The handset started, registered and shown.
class Desk : public ::testing::Test {
protected:
    void SetUp() override {
        phone.startRegistered();
        phone.window.show();
    }
    FakePhone phone;
};

// Each state's words and whether Dial, End and the number field are enabled: all while a call
// rings, only End in a call, all but End when idle. Out of a call Mute and Hold are disabled; in
// one Ctrl+M and Ctrl+H act on it, each checked as the phone reports it, and the status line's
// tip describes the line each second. (Registered, Registering, Rejected and the refusals of plain
// audio or a certificate: RegistrationTest, CallTest, SecureTransportTest; the balance label's
// words for mute, hold and a poor line: CallTest.)
TEST_F(Desk, TheWindowFollowsTheCall) {
    phone.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&phone.window));
    auto* mute = phone.control<QAction>("muteAction");
    auto* hold = phone.control<QAction>("holdAction");
    auto* status = phone.control<QLabel>("statusLabel");
    EXPECT_FALSE(mute->isEnabled() || hold->isEnabled());
    // The status line and +/- for Dial, End and the number field, once `event` has happened.
    const auto after = [&](const std::function<void()>& event = [] {}) {
        event();
        QString shown = status->text() + ' ';
        for (const char* name : {"dialButton", "endButton", "numberBox"})
            shown += phone.control<QWidget>(name)->isEnabled() ? '+' : '-';
        return shown;
    };
    EXPECT_EQ(after([&] { phone.engine->ring(); }), "INCOMING +++");
    EXPECT_EQ(after([&] { phone.report(S::Answering); }), "ANSWERING +++");
    EXPECT_EQ(after([&] { phone.click("clearButton"); }), "Ready... +++");
    EXPECT_EQ(phone.number(), "") << "the caller's number stays";
    EXPECT_EQ(after([&] { phone.report(S::Disconnected); }), "DISCONNECTED +-+");
    EXPECT_EQ(after([&] { phone.dial("15551234567"), phone.report(S::InProgress); }),
              "INPROGRESS -+-");
    phone.report(S::Connected);
    phone.engine->lastSession->stats = {"PCMU/8000", 12.5, 20, 41, false, 1.5};
    for (Qt::Key key : {Qt::Key_M, Qt::Key_H})
        QTest::keyClick(&phone.window, key, Qt::ControlModifier);
    EXPECT_EQ(phone.calls.filter(QRegularExpression("mute|hold")), (QStringList{"mute", "hold"}));
    EXPECT_TRUE(mute->isChecked() && !hold->isChecked()) << "held only once the engine says so";
    QTimer* clock = phone.phone.findChild<QTimer*>("callClock");
    for (int i = 0; i < 65; ++i) QMetaObject::invokeMethod(clock, "timeout");  // 65 s pass
    EXPECT_EQ(after(), "CONNECTED 0:1:5 -+-");
    EXPECT_EQ(status->toolTip(),
              "Codec: PCMU/8000\nPacket loss: 12.5 %\nJitter: 20 ms\nRound trip: 41 ms\nAudio not "
              "encrypted");
    phone.report(S::Disconnected);
    EXPECT_TRUE(status->toolTip().isEmpty());
    EXPECT_FALSE(mute->isEnabled() || hold->isEnabled() || mute->isChecked());
    phone.engine->failCreateSession = true;
    EXPECT_EQ(after([&] { phone.dial("1"); }), "Error:  9003 +-+");
    EXPECT_EQ(after([&] { emit phone.engine->registrationChanged(R::LoggedOff); }),
              "Logged off. +-+");
}

// The dial pad types its character and sounds its tone; Back edits without a sound; keys that
// are no digits are refused with a box; Return dials. Links and pasted numbers arrive cleaned and
// never dial; letters change nothing. The number chosen in the phone book lands in the number
// box, closing it keeps the box (the call history's: the tray test); the banner opens the
// vendor's site. (Clear: TheWindowFollowsTheCall. That Login and the Tuning Wizard entry open
// their dialogs only restates their connects: what Login does is in StartupTest, the tuning
// button in DeskAlone.) Every picture button is named for screen readers.
TEST_F(Desk, DialPadNumberFieldAndLinks) {
    for (const QString& key : QString("1 2 3 4 5 6 7 8 9 Star 0 Pound").split(' '))
        phone.click(qPrintable("dialKey" + key));
    phone.click("backButton");
    auto* field = phone.control<QComboBox>("numberBox");
    QTest::keyClicks(field, "4x");
    EXPECT_EQ(phone.number(), "123456789*04");
    EXPECT_EQ(phone.player.played.join(',').remove("tone Tone").remove(".wav"),
              "1,2,3,4,5,6,7,8,9,star,0,pnd,4");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return phone.calls.contains("call 123456789*04"); }));
    phone.report(S::Disconnected);

    phone.window.showWrittenNumber("tel:+44%2020%207946%200958");
    auto* paste = phone.control<QAction>("pasteNumberAction");
    QGuiApplication::clipboard()->setText("sip:alice@example.com");
    paste->trigger();
    EXPECT_EQ(phone.number(), "00442079460958") << "the link landed, the address did not";
    // One box for the x typed above, one for the sip: address.
    EXPECT_EQ(phone.messages.shown, QStringList(2, "Numbers 0 to 9 only, please!"));
    QGuiApplication::clipboard()->setText("+1 (555) 010-4477");
    emit field->lineEdit()->customContextMenuRequested({4, 4});  // the field's own menu
    ASSERT_TRUE(phone.control<QMenu>("numberFieldMenu")->actions().contains(paste));
    paste->trigger();
    EXPECT_EQ(phone.number(), "0015550104477");
    EXPECT_EQ(phone.calls.filter("call ").size(), 1);

    phone.windows.chosen = "5551234";
    phone.click("phoneBookButton");
    phone.windows.chosen.reset();
    phone.click("phoneBookButton");
    EXPECT_EQ(phone.number(), "5551234");
    QTextBrowser browser;  // its anchorClicked signal stands in for the desktop's browser
    QSignalSpy opened(&browser, &QTextBrowser::anchorClicked);
    QDesktopServices::setUrlHandler("https", &browser, "anchorClicked");
    QTest::mouseClick(phone.control<QLabel>("bannerLink"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(opened.value(0).value(0).toUrl(), QUrl("https://example.com/"));
    for (PictureButton* button : phone.window.findChildren<PictureButton*>())
        EXPECT_NE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), "")
            << qPrintable(button->objectName());
}

// Without an engine and a mixer the window still opens after a box for each; the sliders are
// hidden and the tuning button says the wizard cannot open. Without a tray, Hide only minimises.
TEST(DeskAlone, WithoutAnEngineAMixerOrATray) {
    FakePhone phone;
    phone.noEngine = true;
    phone.mixer->opens = false;
    phone.tray->present = false;
    phone.windows.tuningDevices = false;
    phone.window.start();
    phone.window.show();
    EXPECT_FALSE(phone.window.ended());
    EXPECT_FALSE(phone.window.findChild<VolumeSliders*>()->microphoneSlider->isVisible());
    phone.click("tuningButton");
    const QString formLoad = "An Error Occured and has been logged. FORMLOAD";
    EXPECT_EQ(phone.messages.shown, QStringList({"No mixer found!", formLoad, formLoad, "Error"}));
    phone.click("hideButton");
    EXPECT_TRUE(phone.window.isVisible() && phone.window.isMinimized());
}

// Hidden to a tray that reports only activation, the window comes back by a click on the icon
// or by Restore; closing leaves no icon. While away a ringing call is announced and missed calls
// are counted on the icon until the window comes back or the call history opens, whose chosen
// number lands in the number box; unregistered, the icon is dimmed. (A declined call is not
// missed, one missed call's words, and a double click on a real tray: CallTest, InstallTest; the
// icon's tip per registration: RegistrationTest.)
TEST_F(Desk, TheWindowHidesToTheTrayAndComesBack) {
    phone.tray->onlyActivation = true;
    phone.click("hideButton");
    ASSERT_TRUE(phone.window.isHidden() && phone.tray->iconShown);
    emit phone.tray->activated(TrayActivation::Click);
    EXPECT_TRUE(phone.window.isVisible() && !phone.tray->iconShown);
    EXPECT_TRUE(phone.tray->menu->actions().contains(phone.control<QAction>("muteAction")));

    phone.click("hideButton");
    phone.engine->raise(phone.engine->ring(), S::Disconnected);  // the caller gives up
    phone.dial("15551234567");
    phone.report(S::Connected);
    phone.engine->ring();  // sent away busy
    EXPECT_EQ(phone.tray->messages, QStringList{"Softphone: Incoming call from 5557002"});
    EXPECT_EQ(phone.tray->tip, "Softphone - 2 missed calls");
    phone.report(S::Disconnected);
    phone.trigger("restoreAction");
    EXPECT_TRUE(phone.window.isVisible() && !phone.tray->iconShown);
    phone.click("hideButton");
    EXPECT_EQ(phone.tray->tip, "Softphone");
    phone.engine->raise(phone.engine->ring(), S::Disconnected);
    phone.windows.chosen = "777";
    phone.click("recentButton");
    EXPECT_EQ(phone.tray->tip + ", " + phone.number(), "Softphone, 777");
    const QImage registered = phone.tray->icon.pixmap(16).toImage();
    emit phone.engine->registrationChanged(R::Rejected);
    EXPECT_NE(phone.tray->icon.pixmap(16).toImage(), registered);
    emit phone.engine->registrationChanged(R::Registered);
    EXPECT_EQ(phone.tray->icon.pixmap(16).toImage(), registered);
    phone.click("closeButton");
    EXPECT_FALSE(phone.tray->iconShown);
}

// Presses `button` on the slider's thumb, which is in the middle at the level 60 of 10 to 110,
// moves the pointer by each step in turn and releases.
void drag(QSlider* slider, std::initializer_list<int> steps,
          Qt::MouseButton button = Qt::LeftButton) {
    QWindow* window = slider->window()->windowHandle();
    QPoint at = slider->mapTo(slider->window(), slider->rect().center());
    QTest::mousePress(window, button, {}, at);
    for (int step : steps) QTest::mouseMove(window, at += QPoint(step, 0));
    QTest::mouseRelease(window, button, {}, at);
}

// Over lines from 10 to 110, both at 60: only the left button drags, every move is written at
// once, past the track's ends as the line's ends; releasing the speaker's thumb, not the
// microphone's, plays a sound at the new level unless another sound plays.
TEST_F(Desk, DraggingAThumbWritesEveryMoveUpToTheLinesEnds) {
    const FakeMixer* card = phone.mixer;
    const VolumeSliders* sliders = phone.window.findChild<VolumeSliders*>();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        drag(sliders->speakerSlider, {40}, button);
    drag(sliders->microphoneSlider, {-10, 10, 10});
    ASSERT_EQ(card->writes.size(), 3u) << "only the left button's three moves are written";
    for (const auto& [line, value] : card->writes) EXPECT_EQ(line, MixerLine::Microphone);
    EXPECT_TRUE(card->writes[0].second < 60 && card->writes[1].second < card->writes[2].second);
    drag(sliders->speakerSlider, {-110, 270});  // past either end, still over the window
    EXPECT_TRUE(card->writes.size() == 5 && card->writes[3] == std::pair(MixerLine::Speaker, 10L) &&
                card->writes[4] == std::pair(MixerLine::Speaker, 110L));
    EXPECT_EQ(
        phone.player.played.replaceInStrings(QRegularExpression("^idle .*/ding.wav$"), "ding"),
        QStringList{"ding"});
}

// Each list offers its devices; calibration runs on, and so keeps, the devices shown; Cancel
// afterwards keeps no more.
TEST(TuningWizard, OffersEachListItsDevicesAndCalibratesOnTheShownOnes) {
    FakeAudioTuning tuning;
    TuningWizard wizard(tuning, nullptr);
    QStringList offered;  // the devices of each list, each list ended by "|"
    for (QComboBox* box : {wizard.playbackBox, wizard.captureBox, wizard.ringerBox})
        for (int i = 0; i <= box->count(); ++i)
            offered << (i < box->count() ? box->itemText(i) : "|");
    EXPECT_EQ(offered.join(' '),
              "Speakers HDMI Headset | Microphone Headset | Speakers HDMI Headset |");
    wizard.playbackBox->setCurrentText("Headset");
    wizard.calibrateButton->click();
    wizard.captureBox->setCurrentText("Microphone");
    wizard.reject();
    EXPECT_EQ(tuning.saved, QStringList{"alsa:headset / alsa:headset / pulse:speakers"});
}

}  // namespace
}  // namespace softphone::test
