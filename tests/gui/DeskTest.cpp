// The handset over a fake engine: the status line and controls per state, the dial pad, the
// windows its buttons open, the tray, the in-call items, the level sliders over a fake sound card,
// and the tuning wizard over fake devices (its OK and calibration result: MixerPulseTest).
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

// The dial pad types its character and sounds its tone; Back and Clear edit without a sound;
// keys that are no digits are refused with a box; Return dials. Links and pasted numbers arrive
// cleaned and never dial; letters change nothing.
TEST_F(Desk, DialPadAndNumberField) {
    for (const QString& key : QString("1 2 3 4 5 6 7 8 9 Star 0 Pound").split(' '))
        phone.click(qPrintable("dialKey" + key));
    EXPECT_EQ(phone.number(), "123456789*0#");
    phone.click("backButton");
    auto* field = phone.control<QComboBox>("numberBox");
    QTest::keyClicks(field, "4x");
    EXPECT_EQ(phone.number(), "123456789*04");
    EXPECT_EQ(phone.messages.shown, QStringList{"Numbers 0 to 9 only, please!"});
    EXPECT_EQ(phone.player.played.join(',').remove("tone Tone").remove(".wav"),
              "1,2,3,4,5,6,7,8,9,star,0,pnd,4");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return phone.calls.contains("call 123456789*04"); }));
    phone.report(S::Disconnected);
    phone.click("clearButton");
    EXPECT_EQ(phone.number(), "");

    phone.window.showWrittenNumber("tel:+44%2020%207946%200958");
    auto* paste = phone.control<QAction>("pasteNumberAction");
    QGuiApplication::clipboard()->setText("sip:alice@example.com");
    paste->trigger();
    EXPECT_EQ(phone.number(), "00442079460958") << "the link landed, the address did not";
    EXPECT_EQ(phone.messages.shown.size(), 2);
    QGuiApplication::clipboard()->setText("+1 (555) 010-4477");
    emit field->lineEdit()->customContextMenuRequested({4, 4});  // the field's own menu
    ASSERT_TRUE(phone.control<QMenu>("numberFieldMenu")->actions().contains(paste));
    paste->trigger();
    EXPECT_EQ(phone.number(), "0015550104477");
    EXPECT_EQ(phone.calls.filter("call ").size(), 1);
}

// Takes the web addresses the desktop is asked to open.
class Browser : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void open(const QUrl& url) { opened << url.toString(); }
    QStringList opened;
};

// Each button or menu entry opens its window; the number chosen in the phone book or call
// history lands in the number box, closing them keeps the box; every picture button is named for
// screen readers. (Login As: StartupTest, RegistrationTest; the tuning button: below.)
TEST_F(Desk, ButtonsAndMenusOpenTheirWindows) {
    Browser browser;
    QDesktopServices::setUrlHandler("https", &browser, "open");
    // The windows `control` opens, then the number box, the window handing back `chosen`.
    const auto seen = [&](const char* control, std::optional<QString> chosen = {}) {
        phone.windows.shown.clear();
        phone.windows.chosen = chosen;
        phone.setNumber("keep");
        QString(control).endsWith("Action") ? phone.trigger(control) : phone.click(control);
        return (phone.windows.shown << phone.number()).join(", ");
    };
    EXPECT_EQ(seen("phoneBookButton", "5551234"), "phone book, 5551234");
    EXPECT_EQ(seen("phoneBookButton"), "phone book, keep");
    EXPECT_EQ(seen("recentButton", "777"), "recent calls, 777");
    EXPECT_EQ(seen("loginButton"), "login, keep");
    EXPECT_EQ(seen("tuningAction"), "tuning wizard, keep");
    QTest::mouseClick(phone.control<QLabel>("bannerLink"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(browser.opened, QStringList{"https://example.com/"});
    EXPECT_TRUE(phone.messages.shown.empty());
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
    const QString formLoad = "An Error Occured and has been logged. FORMLOAD";
    EXPECT_EQ(phone.messages.shown, QStringList({"No mixer found!", formLoad, formLoad}));
    EXPECT_FALSE(phone.window.ended());
    EXPECT_FALSE(phone.window.findChild<VolumeSliders*>()->microphoneSlider->isVisible());
    phone.messages.shown.clear();
    phone.click("tuningButton");
    EXPECT_EQ(phone.messages.shown, QStringList{"Error"});
    phone.click("hideButton");
    EXPECT_TRUE(phone.window.isVisible() && phone.window.isMinimized());
}

// Hidden to a tray that reports only activation, the window comes back by a click on the icon
// or by Restore; closing leaves no icon. While away a ringing
// call is announced and missed calls are counted on the icon until the window comes back or the
// call history opens; unregistered, the icon is dimmed. (A declined call is not missed, and a
// double click on a real tray: CallTest, InstallTest.)
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
    EXPECT_EQ(phone.tray->tip, "Softphone - 1 missed call");
    phone.click("recentButton");
    EXPECT_EQ(phone.tray->tip, "Softphone");
    const QImage registered = phone.tray->icon.pixmap(16).toImage();
    emit phone.engine->registrationChanged(R::Rejected);
    EXPECT_NE(phone.tray->icon.pixmap(16).toImage(), registered);
    emit phone.engine->registrationChanged(R::Registered);
    EXPECT_EQ(phone.tray->icon.pixmap(16).toImage(), registered);
    phone.click("closeButton");
    EXPECT_FALSE(phone.tray->iconShown);
}

// Presses `button` on the slider's thumb, moves the pointer by each step in turn and releases.
void drag(QSlider* slider, std::initializer_list<int> steps,
          Qt::MouseButton button = Qt::LeftButton) {
    QWindow* window = slider->window()->windowHandle();
    const int thumb = QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(),
                                                      slider->value(), slider->width() - 7);
    QPoint at = slider->mapTo(slider->window(), QPoint(3 + thumb, slider->height() / 2));
    QTest::mousePress(window, button, {}, at);
    for (int step : steps) QTest::mouseMove(window, at += QPoint(step, 0));
    QTest::mouseRelease(window, button, {}, at);
}

// Over lines from 10 to 110, both at 60: only the left button drags, every move is written at
// once, past the track's ends as the line's ends; releasing the speaker's thumb plays a sound at
// the new level unless another sound plays.
TEST_F(Desk, DraggingAThumbWritesEveryMoveUpToTheLinesEnds) {
    const FakeMixer* card = phone.mixer;
    const VolumeSliders* sliders = phone.window.findChild<VolumeSliders*>();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        drag(sliders->speakerSlider, {40}, button);
    EXPECT_TRUE(card->writes.empty());
    drag(sliders->microphoneSlider, {-10, 10, 10});
    ASSERT_EQ(card->writes.size(), 3u);
    for (const auto& [line, value] : card->writes) EXPECT_EQ(line, MixerLine::Microphone);
    EXPECT_LT(card->writes[0].second, 60);
    EXPECT_LT(card->writes[1].second, card->writes[2].second);
    EXPECT_TRUE(phone.player.played.isEmpty());
    drag(sliders->speakerSlider, {-500});
    EXPECT_EQ(card->writes.back(), std::pair(MixerLine::Speaker, 10L));
    drag(sliders->speakerSlider, {500});
    EXPECT_EQ(card->writes.back(), std::pair(MixerLine::Speaker, 110L));
    EXPECT_EQ(
        phone.player.played.replaceInStrings(QRegularExpression("^idle .*/ding.wav$"), "ding"),
        QStringList(2, "ding"));
}

// Each list offers its devices; calibration runs on, and so keeps, the devices shown; Cancel
// afterwards keeps no more.
TEST(TuningWizard, OffersEachListItsDevicesAndCalibratesOnTheShownOnes) {
    FakeAudioTuning tuning;
    TuningWizard wizard(tuning, nullptr);
    QStringList offered;  // the devices of each list, each list ended by "|"
    for (QComboBox* box : {wizard.playbackBox, wizard.captureBox, wizard.ringerBox}) {
        for (int i = 0; i < box->count(); ++i) offered << box->itemText(i);
        offered << "|";
    }
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

#include "DeskTest.moc"
