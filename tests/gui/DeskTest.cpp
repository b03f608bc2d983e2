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

// Seconds of a call passing on the call clock.
void tick(FakePhone& p, int seconds = 1) {
    for (int i = 0; i < seconds; ++i)
        QMetaObject::invokeMethod(p.phone.findChild<QTimer*>("callClock"), "timeout");
}

// Each state's words and whether Dial, End and the number field are enabled: all while a call
// rings, only End in a call, all but End when idle. (Registered, Registering, Rejected and the
// refusals of plain audio or a certificate: RegistrationTest, CallTest, SecureTransportTest.)
TEST(Desk, StatusLineAndControlsShowThePhonesState) {
    FakePhone phone;
    phone.startRegistered();
    const auto shown = [&] {
        QString shown = phone.status() + ' ';
        for (const char* name : {"dialButton", "endButton", "numberBox"})
            shown += phone.control<QWidget>(name)->isEnabled() ? '+' : '-';
        return shown;
    };
    const std::pair<std::function<void()>, QString> rows[] = {
        {[&] { phone.engine->ring(); }, "INCOMING +++"},
        {[&] { phone.report(S::Answering); }, "ANSWERING +++"},
        {[&] { phone.click("clearButton"); }, "Ready... +++"},
        {[&] { phone.report(S::Disconnected); }, "DISCONNECTED +-+"},
        {[&] { phone.dial("15551234567"), phone.report(S::InProgress); }, "INPROGRESS -+-"},
        {[&] { phone.report(S::Connected), tick(phone, 65); }, "CONNECTED 0:1:5 -+-"},
        {[&] { phone.report(S::Disconnected), phone.engine->failCall = true, phone.dial("1"); },
         "Error:  486 +-+"},
        {[&] { emit phone.engine->registrationChanged(R::LoggedOff); }, "Logged off. +-+"},
    };
    for (const auto& [event, expected] : rows) {
        event();
        EXPECT_EQ(shown(), expected);
    }
}

// The dial pad types its character and sounds its tone; Back and Clear edit without a sound;
// keys that are no digits are refused with a box; Return dials. Links and pasted numbers arrive
// cleaned and never dial; letters change nothing.
TEST(Desk, DialPadAndNumberField) {
    FakePhone phone;
    phone.startRegistered();
    for (const QString& key : QString("1 2 3 4 5 6 7 8 9 Star 0 Pound").split(' '))
        phone.click(qPrintable("dialKey" + key));
    EXPECT_EQ(phone.number(), "123456789*0#");
    EXPECT_EQ(phone.player.played.join(',').remove("tone Tone").remove(".wav"),
              "1,2,3,4,5,6,7,8,9,star,0,pnd");
    phone.player.played.clear();
    phone.click("backButton");
    auto* field = phone.control<QComboBox>("numberBox");
    QTest::keyClicks(field, "4x");
    EXPECT_EQ(phone.number(), "123456789*04");
    EXPECT_EQ(phone.messages.shown, QStringList{"Numbers 0 to 9 only, please!"});
    EXPECT_EQ(phone.player.played, QStringList{"tone Tone4.wav"});
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return phone.calls.contains("call 123456789*04"); }));
    phone.report(S::Disconnected);
    phone.click("clearButton");
    EXPECT_EQ(phone.number(), "");

    phone.window.showWrittenNumber("tel:+44%2020%207946%200958");
    EXPECT_EQ(phone.number(), "00442079460958");
    auto* paste = phone.control<QAction>("pasteNumberAction");
    QGuiApplication::clipboard()->setText("sip:alice@example.com");
    paste->trigger();
    EXPECT_EQ(phone.number(), "00442079460958");
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
TEST(Desk, ButtonsAndMenusOpenTheirWindows) {
    Browser browser;
    QDesktopServices::setUrlHandler("https", &browser, "open");
    FakePhone phone;
    phone.startRegistered();
    const struct {
        std::function<void()> act;
        std::optional<QString> chosen;  // what the phone book or call history hands back
        QStringList seen;               // the windows opened, then the number box
    } rows[] = {
        {[&] { phone.click("phoneBookButton"); }, "5551234", {"phone book", "5551234"}},
        {[&] { phone.click("phoneBookButton"); }, {}, {"phone book", "keep"}},
        {[&] { phone.click("recentButton"); }, "777", {"recent calls", "777"}},
        {[&] { phone.click("loginButton"); }, {}, {"login", "keep"}},
        {[&] { phone.trigger("tuningAction"); }, {}, {"tuning wizard", "keep"}},
        {[&] { QTest::mouseClick(phone.control<QLabel>("bannerLink"), Qt::LeftButton); },
         {},
         {"keep"}},
    };
    for (const auto& row : rows) {
        phone.windows.shown.clear();
        phone.windows.chosen = row.chosen;
        phone.setNumber("keep");
        row.act();
        EXPECT_EQ(phone.windows.shown << phone.number(), row.seen);
    }
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(browser.opened, QStringList{"https://example.com/"});
    EXPECT_TRUE(phone.messages.shown.empty());
    for (PictureButton* button : phone.window.findChildren<PictureButton*>())
        EXPECT_NE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), "")
            << qPrintable(button->objectName());
}

// Without an engine and a mixer the window still opens after a box for each; the sliders are
// hidden and the tuning button says the wizard cannot open.
TEST(Desk, WithoutAnEngineOrAMixer) {
    FakePhone phone;
    phone.noEngine = true;
    phone.mixer->opens = false;
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
}

// Hidden to a tray that reports only activation, the window comes back by a click on the icon
// or by Restore; closing leaves no icon; without a tray it only minimises. While away a ringing
// call is announced and missed calls are counted on the icon until the window comes back or the
// call history opens; unregistered, the icon is dimmed. (A declined call is not missed, and a
// double click on a real tray: CallTest, InstallTest.)
TEST(Desk, TheWindowHidesToTheTrayAndComesBack) {
    FakePhone phone;
    phone.tray->onlyActivation = true;
    phone.startRegistered();
    phone.window.show();
    const std::function<void()> backs[] = {
        [&] { emit phone.tray->activated(TrayActivation::Click); },
        [&] { phone.trigger("restoreAction"); }};
    for (const auto& back : backs) {
        phone.click("hideButton");
        ASSERT_TRUE(phone.window.isHidden() && phone.tray->iconShown);
        back();
        EXPECT_TRUE(phone.window.isVisible() && !phone.tray->iconShown);
    }
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

    FakePhone trayless;
    trayless.tray->present = false;
    trayless.startRegistered();
    trayless.window.show();
    trayless.click("hideButton");
    EXPECT_TRUE(trayless.window.isVisible() && trayless.window.isMinimized());
}

// Out of a call Mute and Hold are disabled; in one Ctrl+M and Ctrl+H act on it, each checked as
// the phone reports it, and the status line's tip describes the line each second. (The balance
// label's words for mute, hold and a poor line: CallTest.)
TEST(Desk, InCallItemsTheirKeysAndTheLineTip) {
    FakePhone phone;
    phone.startRegistered();
    phone.window.show();
    phone.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&phone.window));
    auto* mute = phone.control<QAction>("muteAction");
    auto* hold = phone.control<QAction>("holdAction");
    auto* status = phone.control<QLabel>("statusLabel");
    EXPECT_FALSE(mute->isEnabled() || hold->isEnabled());
    phone.dial("15551234567");
    phone.report(S::Connected);
    phone.engine->lastSession->stats = {"PCMU/8000", 12.5, 20, 41, false, 1.5};
    for (Qt::Key key : {Qt::Key_M, Qt::Key_H})
        QTest::keyClick(&phone.window, key, Qt::ControlModifier);
    EXPECT_EQ(phone.calls.filter(QRegularExpression("mute|hold")), (QStringList{"mute", "hold"}));
    EXPECT_TRUE(mute->isChecked() && !hold->isChecked()) << "held only once the engine says so";
    tick(phone);
    EXPECT_EQ(status->toolTip(),
              "Codec: PCMU/8000\nPacket loss: 12.5 %\nJitter: 20 ms\nRound trip: 41 ms\nAudio not "
              "encrypted");
    phone.report(S::Disconnected);
    EXPECT_TRUE(status->toolTip().isEmpty());
    EXPECT_FALSE(mute->isEnabled() || hold->isEnabled() || mute->isChecked());
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
TEST(Desk, DraggingAThumbWritesEveryMoveUpToTheLinesEnds) {
    FakePhone phone;
    const FakeMixer* card = phone.mixer;
    phone.startRegistered();
    phone.window.show();
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
    const auto items = [](QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items.join(", ");
    };
    EXPECT_EQ(items(wizard.playbackBox), "Speakers, HDMI, Headset");
    EXPECT_EQ(items(wizard.captureBox), "Microphone, Headset");
    EXPECT_EQ(items(wizard.ringerBox), items(wizard.playbackBox));
    wizard.playbackBox->setCurrentText("Headset");
    wizard.calibrateButton->click();
    wizard.captureBox->setCurrentText("Microphone");
    wizard.reject();
    EXPECT_EQ(tuning.saved, QStringList{"alsa:headset / alsa:headset / pulse:speakers"});
}

}  // namespace
}  // namespace softphone::test

#include "DeskTest.moc"
