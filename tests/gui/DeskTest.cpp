// The handset as a view of the phone over a fake engine: the status line's words and the
// controls for each state, the buttons and menus with the windows they open, the tray, the level
// sliders over a fake sound card, and the audio tuning wizard over fake devices (its OK, the
// choice it shows and the calibration's result are in MixerPulseTest).
#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "dialer/TuningWizard.h"
#include "dialer/VolumeSliders.h"
#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

using S = SessionState;
using R = RegistrationState;

// The states only the fake engine reaches at will, each in the system's own words, and the
// controls it leaves to the user: all of them while a call rings, only End in a call, all but End
// when idle. (Registered, Registering, Rejected, INCOMING, CONNECTED, DISCONNECTED and the
// refusals of plain audio or a certificate: RegistrationTest, CallTest, SecureTransportTest.)
TEST(Desk, StatusLineAndControlsShowThePhonesState) {
    FakePhone phone;
    phone.startRegistered();
    // Whether Dial, End and the number field are enabled.
    const auto controls = [&] {
        QString shown;
        for (QWidget* control : {phone.button("dialButton"), phone.button("endButton")})
            shown += control->isEnabled() ? '+' : '-';
        return shown + (phone.control<QComboBox>("numberBox")->isEnabled() ? '+' : '-');
    };
    const auto tick = [](FakePhone& p) {
        for (int i = 0; i < 65; ++i)
            QMetaObject::invokeMethod(p.phone.findChild<QTimer*>("callClock"), "timeout");
    };
    const struct {
        std::function<void(FakePhone&)> event;
        const char* status;
        const char* controls;
    } rows[] = {
        {[](FakePhone& p) { p.engine->ring(); }, "INCOMING", "+++"},
        {[](FakePhone& p) { p.report(S::Answering); }, "ANSWERING", "+++"},
        {[](FakePhone& p) { p.click("clearButton"); }, "Ready...", "+++"},
        {[](FakePhone& p) { p.report(S::Disconnected); }, "DISCONNECTED", "+-+"},
        {[](FakePhone& p) { p.dial("15551234567"), p.report(S::InProgress); }, "INPROGRESS", "-+-"},
        {[&](FakePhone& p) { p.report(S::Connected), tick(p); }, "CONNECTED 0:1:5", "-+-"},
        {[](FakePhone& p) { p.report(S::Disconnected), p.engine->failCall = true, p.dial("1"); },
         "Error:  486", "+-+"},
        {[](FakePhone& p) { emit p.engine->registrationChanged(R::LoggedOff); }, "Logged off.",
         "+-+"},
    };
    for (const auto& row : rows) {
        row.event(phone);
        EXPECT_EQ(phone.status(), row.status);
        EXPECT_EQ(controls(), row.controls) << row.status;
    }
}

// The dial pad in its reading order types its character and sounds its tone; Back takes the
// last character off and Clear the rest, neither with a sound; keys typed that are no digits
// are refused with a box, and Return dials what the field holds.
TEST(Desk, DialPadAndNumberField) {
    FakePhone phone;
    phone.startRegistered();
    for (const char* key :
         {"dialKey1", "dialKey2", "dialKey3", "dialKey4", "dialKey5", "dialKey6", "dialKey7",
          "dialKey8", "dialKey9", "dialKeyStar", "dialKey0", "dialKeyPound"})
        phone.click(key);
    EXPECT_EQ(phone.number(), "123456789*0#");
    EXPECT_EQ(phone.player.played.join(',').remove("tone Tone").remove(".wav"),
              "1,2,3,4,5,6,7,8,9,star,0,pnd");
    phone.player.played.clear();
    phone.click("backButton");
    EXPECT_EQ(phone.number(), "123456789*0");
    auto* field = phone.control<QComboBox>("numberBox");
    QTest::keyClicks(field, "4x");
    EXPECT_EQ(phone.number(), "123456789*04");
    EXPECT_EQ(phone.messages.shown, QStringList{"Numbers 0 to 9 only, please!"});
    EXPECT_EQ(phone.player.played, QStringList{"tone Tone4.wav"});
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return phone.calls.contains("call 123456789*04"); }));
    phone.engine->raise(phone.engine->lastSession, S::Disconnected);
    phone.click("clearButton");
    EXPECT_EQ(phone.number(), "");

    // Links and pasted numbers arrive cleaned and never dial; letters change nothing.
    phone.window.showWrittenNumber("tel:+44%2020%207946%200958");
    EXPECT_EQ(phone.number(), "00442079460958");
    QGuiApplication::clipboard()->setText("sip:alice@example.com");
    phone.trigger("pasteNumberAction");
    EXPECT_EQ(phone.number(), "00442079460958");
    EXPECT_EQ(phone.messages.shown.size(), 2);
    QGuiApplication::clipboard()->setText("+1 (555) 010-4477");
    emit field->lineEdit()->customContextMenuRequested({4, 4});  // the field's own menu
    ASSERT_TRUE(phone.control<QMenu>("numberFieldMenu")
                    ->actions()
                    .contains(phone.control<QAction>("pasteNumberAction")));
    phone.trigger("pasteNumberAction");
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

// Each button or menu entry opens its window; the number chosen in the phone book or the call
// history lands in the number box, and closing them leaves the box as it was. Each picture
// button has a name for screen readers. (Login As: StartupTest and RegistrationTest; the tuning
// button: WithoutAnEngineOrAMixer.)
TEST(Desk, ButtonsAndMenusOpenTheirWindows) {
    Browser browser;
    QDesktopServices::setUrlHandler("https", &browser, "open");
    const struct {
        std::function<void(FakePhone&)> act;
        std::optional<QString> chosen;  // what the phone book or call history hands back
        QStringList seen;               // the windows opened, then the number box
    } rows[] = {
        {[](FakePhone& p) { p.click("phoneBookButton"); }, "5551234", {"phone book", "5551234"}},
        {[](FakePhone& p) { p.click("phoneBookButton"); }, {}, {"phone book", "keep"}},
        {[](FakePhone& p) { p.click("recentButton"); }, "777", {"recent calls", "777"}},
        {[](FakePhone& p) { p.click("loginButton"); }, {}, {"login", "keep"}},
        {[](FakePhone& p) { p.trigger("tuningAction"); }, {}, {"tuning wizard", "keep"}},
        {[](FakePhone& p) { QTest::mouseClick(p.control<QLabel>("bannerLink"), Qt::LeftButton); },
         {},
         {"keep"}},
    };
    FakePhone phone;
    phone.startRegistered();
    for (const auto& row : rows) {
        phone.windows.shown.clear();
        phone.windows.chosen = row.chosen;
        phone.setNumber("keep");
        row.act(phone);
        EXPECT_EQ(phone.windows.shown << phone.number(), row.seen);
    }
    QDesktopServices::unsetUrlHandler("https");
    for (PictureButton* button : phone.window.findChildren<PictureButton*>())
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name).isEmpty())
            << button->objectName().toStdString() << " is nameless to a screen reader";
    EXPECT_EQ(browser.opened, QStringList{"https://example.com/"});
    EXPECT_TRUE(phone.messages.shown.empty());
}

// Without an engine and without a mixer the window still opens after a box for each; the sliders
// are hidden and the tuning wizard says it cannot open.
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

// Hidden to a tray that reports nothing but activation, the window comes back by a click on the
// icon, or by Restore in the icon's menu; closing leaves no icon behind. Without a tray it only
// minimises. While away a ringing call is announced; missed calls (a caller who gave up, one
// sent away busy) are counted on the icon until the window comes back or the call history is
// opened; unregistered, the icon is dimmed. (A
// double click on a real tray: InstallTest; the icon's tip per registration: RegistrationTest.)
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
        EXPECT_TRUE(phone.window.isVisible());
        EXPECT_FALSE(phone.tray->iconShown);
    }
    EXPECT_TRUE(phone.tray->menu->actions().contains(phone.control<QAction>("muteAction")));

    phone.engine->ring();
    phone.click("endButton");  // rejected with the window shown: neither announced nor missed
    phone.report(S::Disconnected);
    phone.click("hideButton");
    phone.engine->raise(phone.engine->ring(), S::Disconnected);  // the caller gives up
    phone.dial("15551234567");
    phone.report(S::Connected);
    phone.engine->ring();  // sent away busy
    EXPECT_EQ(phone.tray->messages, QStringList{"Softphone: Incoming call from 5557002"});
    EXPECT_EQ(phone.tray->tip, "Softphone - 2 missed calls");
    phone.report(S::Disconnected);
    phone.click("hideButton");
    EXPECT_EQ(phone.tray->tip, "Softphone");
    phone.click("hideButton");
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
    EXPECT_EQ(phone.control<QLabel>("balanceLabel")->text(), "MUTED");
    EXPECT_TRUE(mute->isChecked());
    EXPECT_FALSE(hold->isChecked()) << "held only once the engine says so";
    QMetaObject::invokeMethod(phone.phone.findChild<QTimer*>("callClock"), "timeout");
    EXPECT_EQ(status->toolTip(),
              "Codec: PCMU/8000\nPacket loss: 12.5 %\nJitter: 20 ms\nRound trip: 41 ms\nAudio not "
              "encrypted");
    phone.report(S::Disconnected);
    EXPECT_TRUE(status->toolTip().isEmpty());
    EXPECT_FALSE(mute->isEnabled() || hold->isEnabled() || mute->isChecked());
}

// Presses `button` on the thumb where it shows the level, moves the pointer by each step in
// turn and releases.
void drag(QSlider* slider, std::initializer_list<int> steps,
          Qt::MouseButton button = Qt::LeftButton) {
    QWindow* window = slider->window()->windowHandle();
    QPoint at = slider->mapTo(
        slider->window(),
        QPoint(3 + QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(),
                                                   slider->value(), slider->width() - 7),
               slider->height() / 2));
    QTest::mousePress(window, button, {}, at);
    for (int step : steps) QTest::mouseMove(window, at += QPoint(step, 0));
    QTest::mouseRelease(window, button, {}, at);
}

// Over lines from 10 to 110, both at 60: only the left button drags, and every move is heard
// at once, past the track's ends as the line's own ends; releasing the speaker's thumb plays a
// sound at the new level, unless another sound plays.
TEST(Desk, DraggingAThumbWritesEveryMoveUpToTheLinesEnds) {
    FakePhone phone;
    const FakeMixer* card = phone.mixer;
    phone.startRegistered();
    phone.window.show();
    const VolumeSliders* sliders = phone.window.findChild<VolumeSliders*>();
    EXPECT_TRUE(sliders->speakerSlider->isVisible() && sliders->microphoneSlider->isVisible());
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
    ASSERT_EQ(phone.player.played.size(), 2);
    EXPECT_TRUE(phone.player.played[1].startsWith("idle "));
    EXPECT_TRUE(phone.player.played[1].endsWith("/ding.wav"));
}

QStringList items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

// Calibration runs on the devices shown, so it keeps them; Cancel afterwards keeps no more.
TEST(TuningWizard, OffersEachListItsDevicesAndCalibratesOnTheShownOnes) {
    FakeAudioTuning tuning;
    TuningWizard wizard(tuning, nullptr);
    EXPECT_EQ(items(wizard.playbackBox), (QStringList{"Speakers", "HDMI", "Headset"}));
    EXPECT_EQ(items(wizard.captureBox), (QStringList{"Microphone", "Headset"}));
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
