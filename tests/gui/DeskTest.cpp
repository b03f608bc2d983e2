// The handset's buttons and menus, the tray, the level sliders over a fake sound card, and the
// audio tuning wizard over fake devices (its OK, the choice it shows and the calibration's
// result are in MixerPulseTest).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

using L = MixerLine;
using Act = std::function<void(FakePhone&)>;

// A left click on a control of the handset.
Act click(auto HandsetWindow::*control) {
    return [control](FakePhone& p) {
        QTest::mouseClick(p.window.*control, Qt::LeftButton, {}, QPoint(3, 3));
    };
}

// An entry of the tray icon's menu, which also holds the settings menu's entries.
Act pick(const QString& text) {
    return [text](FakePhone& p) {
        for (QAction* action : p.desk.trayMenu->actions())
            if (action->text() == text) action->trigger();
    };
}

// Each button or menu entry opens its window; the number chosen in the phone book or the call
// history lands in the number box, and closing them leaves the box as it was.
TEST(Desk, ButtonsAndMenusOpenTheirWindows) {
    const struct {
        Act act;
        std::optional<QString> chosen;  // what the phone book or call history hands back
        QStringList seen;  // the windows opened, what the engine is asked, the number box
    } rows[] = {
        {click(&HandsetWindow::phoneBookButton), "5551234", {"phone book", "5551234"}},
        {click(&HandsetWindow::phoneBookButton), {}, {"phone book", "keep"}},
        {click(&HandsetWindow::recentButton), "777", {"recent calls", "777"}},
        {click(&HandsetWindow::loginButton), {}, {"login", "keep"}},
        {pick("&Login As..."), {}, {"login", "keep"}},
        {click(&HandsetWindow::tuningButton), {}, {"TuningWizard", "keep"}},
        {pick("&Tuning Wizard"), {}, {"TuningWizard", "keep"}},
        {click(&HandsetWindow::bannerLink), {}, {"browser", "keep"}},
    };
    FakePhone phone;
    phone.startRegistered();
    for (const auto& row : rows) {
        phone.windows.shown.clear();
        phone.windows.chosen = row.chosen;
        phone.desk.opened.clear();
        phone.calls->clear();
        phone.window.numberBox->setEditText("keep");
        row.act(phone);
        QStringList seen = phone.windows.shown + *phone.calls;
        if (!phone.desk.opened.isEmpty() && phone.desk.opened[0].scheme().startsWith("http"))
            seen << "browser";
        EXPECT_EQ(seen << phone.window.numberBox->currentText(), row.seen);
    }
    EXPECT_TRUE(phone.messages.shown.empty());
}

// Without an engine and without a mixer the window still opens after a box for each; the sliders
// are hidden and the tuning wizard says it cannot open.
TEST(Desk, WithoutAnEngineOrAMixer) {
    FakePhone phone;
    phone.noEngine = true;
    phone.desk.mixerOpens = false;
    phone.window.start();
    phone.window.show();
    const QString formLoad = "An Error Occured and has been logged. FORMLOAD";
    EXPECT_EQ(phone.messages.shown, QStringList({"No mixer found!", formLoad, formLoad}));
    EXPECT_FALSE(phone.window.ended());
    EXPECT_FALSE(phone.window.volumeSliders->microphoneSlider->isVisible());
    phone.messages.shown.clear();
    QTest::mouseClick(phone.window.tuningButton, Qt::LeftButton);
    EXPECT_EQ(phone.messages.shown, QStringList{"Error"});
}

// Hidden to a tray that reports nothing but activation, the window comes back by a click on the
// icon, or by Restore in the icon's menu; closing leaves no icon behind. Without a tray it only
// minimises. A double click on a real tray is in InstallTest.
TEST(Desk, TheWindowHidesToTheTrayAndComesBack) {
    FakePhone phone;
    phone.desk.tray->onlyActivation = true;
    phone.startRegistered();
    phone.window.show();
    const Act click = [](FakePhone& p) { p.desk.tray->activate(TrayActivation::Click); };
    for (const Act& back : {click, pick("Restore")}) {
        QTest::mouseClick(phone.window.hideButton, Qt::LeftButton);
        ASSERT_TRUE(phone.window.isHidden() && phone.desk.tray->iconShown);
        back(phone);
        EXPECT_TRUE(phone.window.isVisible());
        EXPECT_FALSE(phone.desk.tray->iconShown);
    }
    QTest::mouseClick(phone.window.hideButton, Qt::LeftButton);
    phone.window.onCloseClicked();
    EXPECT_FALSE(phone.desk.tray->iconShown);

    FakePhone trayless;
    trayless.desk.tray->present = false;
    trayless.startRegistered();
    trayless.window.show();
    QTest::mouseClick(trayless.window.hideButton, Qt::LeftButton);
    EXPECT_TRUE(trayless.window.isVisible() && trayless.window.isMinimized());
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
    phone.startRegistered();
    const FakeMixer* card = phone.desk.mixer;
    phone.window.show();
    const VolumeSliders* sliders = phone.window.volumeSliders;
    EXPECT_TRUE(sliders->speakerSlider->isVisible() && sliders->microphoneSlider->isVisible());
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        drag(sliders->speakerSlider, {40}, button);
    EXPECT_TRUE(card->writes.empty());
    drag(sliders->microphoneSlider, {-10, 10, 10});
    ASSERT_EQ(card->writes.size(), 3u);
    for (const auto& [line, value] : card->writes) EXPECT_EQ(line, L::Microphone);
    EXPECT_LT(card->writes[0].second, 60);
    EXPECT_LT(card->writes[1].second, card->writes[2].second);
    EXPECT_TRUE(phone.player.played.isEmpty());
    drag(sliders->speakerSlider, {-500});
    EXPECT_EQ(card->writes.back(), std::pair(L::Speaker, 10L));
    drag(sliders->speakerSlider, {500});
    EXPECT_EQ(card->writes.back(), std::pair(L::Speaker, 110L));
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
