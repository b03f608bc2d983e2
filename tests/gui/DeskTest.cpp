// The handset's buttons and menus, the tray, and the level sliders over a fake sound card.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>

#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

using L = MixerLine;
using Act = std::function<void(FakePhone&)>;

// A left click on a control of the handset.
Act Click(auto HandsetWindow::*control) {
    return [control](FakePhone& p) {
        QTest::mouseClick(p.window.*control, Qt::LeftButton, {}, QPoint(3, 3));
    };
}

// An entry of the tray icon's menu, which also holds the settings menu's entries.
Act Pick(const QString& text) {
    return [text](FakePhone& p) {
        for (QAction* action : p.desk.trayMenu->actions())
            if (action->text() == text) action->trigger();
    };
}

// The user's answers in the modal windows are scripted: each button or entry opens its window
// through the handset's modal-window seam, and the number chosen there lands in the number box.
TEST(Desk, ButtonsAndMenusDoWhatTheySay) {
    const struct {
        Act act;
        std::optional<QString> chosen;  // what the phone book or call history hands back
        QStringList seen;  // the windows opened, what the engine is asked, the number box
    } rows[] = {
        {Click(&HandsetWindow::phoneBookButton), "5551234", {"phone book", "5551234"}},
        {Click(&HandsetWindow::phoneBookButton), {}, {"phone book", "keep"}},
        {Click(&HandsetWindow::recentButton), "777", {"recent calls", "777"}},
        // What is typed there counts from the next start or the next Login As.
        {Click(&HandsetWindow::loginButton), {}, {"login", "keep"}},
        {Pick("&Login As..."), {}, {"login", "EnableAccount", "keep"}},
        {Click(&HandsetWindow::tuningButton), {}, {"TuningWizard", "keep"}},
        {Pick("&Tuning Wizard"), {}, {"TuningWizard", "keep"}},
        {Click(&HandsetWindow::bannerLink), {}, {"browser", "keep"}},
    };
    for (const auto& row : rows) {
        FakePhone phone;
        phone.StartRegistered();
        phone.windows.shown.clear();
        phone.engine->enabled.clear();
        phone.window.numberBox->setEditText("keep");
        phone.windows.chosen = row.chosen;
        row.act(phone);
        QStringList seen = phone.windows.shown;
        if (!phone.engine->enabled.isEmpty()) seen << "EnableAccount";
        if (!phone.desk.opened.isEmpty() && phone.desk.opened[0].scheme().startsWith("http"))
            seen << "browser";
        for (const QString& call : *phone.calls) seen << call.section(' ', 0, 0);
        seen << phone.window.numberBox->currentText();
        EXPECT_EQ(seen, row.seen);
        EXPECT_TRUE(phone.messages.shown.empty());
    }
}

TEST(Desk, TuningWizardWithoutAnEngineSaysError) {
    FakePhone phone;
    phone.noEngine = true;
    phone.window.Start();
    phone.messages.shown.clear();
    QTest::mouseClick(phone.window.tuningButton, Qt::LeftButton);
    EXPECT_EQ(phone.messages.shown, QStringList{"Error"});
}

// Hidden to the tray, the window comes back by a double click on the icon (a click, where the
// tray reports nothing else) or by Restore in the icon's menu; closing leaves no icon behind.
// Without a tray it only minimises.
TEST(Desk, TheWindowHidesToTheTrayAndComesBack) {
    const auto activate = [](TrayActivation reason) {
        return [reason](FakePhone& p) { p.desk.tray->Activate(reason); };
    };
    const struct {
        bool tray, onlyActivation;
        Act act;
        bool shown, icon;  // afterwards
    } rows[] = {
        {true, false, activate(TrayActivation::DoubleClick), true, false},
        {true, false, activate(TrayActivation::Click), false, true},
        {true, true, activate(TrayActivation::Click), true, false},
        {true, true, activate(TrayActivation::Other), false, true},
        {true, false, Pick("Restore"), true, false},
        {true, false, [](FakePhone& p) { p.window.OnCloseClicked(); }, false, false},
        {false, false, [](FakePhone&) {}, true, false},
    };
    for (const auto& row : rows) {
        FakePhone phone;
        phone.desk.tray->available = row.tray;
        phone.desk.tray->onlyActivation = row.onlyActivation;
        phone.StartRegistered();
        phone.window.show();
        QTest::mouseClick(phone.window.hideButton, Qt::LeftButton);
        ASSERT_EQ(phone.window.isHidden() && phone.desk.tray->iconShown, row.tray);
        row.act(phone);
        EXPECT_EQ(phone.window.isVisible(), row.shown) << &row - rows;
        EXPECT_EQ(phone.window.isMinimized(), !row.tray) << &row - rows;
        EXPECT_EQ(phone.desk.tray->iconShown, row.icon) << &row - rows;
    }
}

// Starts `phone`, shown, over a card with the given lines, each with this range and at its
// middle; returns the card.
FakeMixer* StartOverCard(FakePhone& phone, std::vector<L> lines, long minimum, long maximum,
                         bool opens = true) {
    FakeMixer* card = nullptr;
    phone.desk.card = [&] {  // called once, from Start
        auto mixer = std::make_unique<FakeMixer>();
        mixer->opens = opens;
        for (L line : lines)
            mixer->WithLine(line, minimum, maximum).SetLevel(line, (minimum + maximum) / 2);
        card = mixer.get();
        return mixer;
    };
    phone.StartRegistered();
    phone.window.show();
    return card;
}

TEST(Desk, SlidersShowOnlyForTheLinesTheCardHas) {
    const struct {
        bool opens;
        std::vector<L> lines;
        bool speaker, microphone;
    } rows[] = {
        {false, {L::Speaker, L::Microphone}, false, false},
        {true, {L::Speaker}, true, false},
        {true, {L::Microphone}, false, true},
    };
    for (const auto& row : rows) {
        FakePhone phone;
        StartOverCard(phone, row.lines, 0, 100, row.opens);
        EXPECT_EQ(phone.messages.shown, row.opens ? QStringList() : QStringList{"No mixer found!"});
        EXPECT_EQ(phone.window.volumeSliders->speakerSlider->isVisible(), row.speaker);
        EXPECT_EQ(phone.window.volumeSliders->microphoneSlider->isVisible(), row.microphone);
    }
}

// Presses `button` on the thumb where it shows the level, moves the pointer by each step in
// turn and releases.
void Drag(QSlider* slider, std::initializer_list<int> steps,
          Qt::MouseButton button = Qt::LeftButton) {
    const auto send = [slider](QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons held,
                               QPoint at) {
        QMouseEvent event(type, at, slider->mapToGlobal(at), b, held, Qt::NoModifier);
        QApplication::sendEvent(slider, &event);
    };
    QPoint at(3 + QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(),
                                                  slider->value(), slider->width() - 7),
              slider->height() / 2);
    send(QEvent::MouseButtonPress, button, button, at);
    for (int step : steps) send(QEvent::MouseMove, Qt::NoButton, button, at += QPoint(step, 0));
    send(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
}

TEST(Desk, DraggingPastTheTrackEndsWritesTheLineRangeEnds) {
    const struct {
        long minimum, maximum;
        int step;
        long written;
    } rows[] = {
        {0, 65536, -500, 0}, {0, 65536, 500, 65536}, {10, 110, -500, 10}, {10, 110, 500, 110}};
    for (const auto& row : rows) {
        FakePhone phone;
        FakeMixer* card = StartOverCard(phone, {L::Speaker}, row.minimum, row.maximum);
        Drag(phone.window.volumeSliders->speakerSlider, {row.step});
        EXPECT_EQ(card->Last(L::Speaker), row.written) << row.step;
        EXPECT_EQ(card->writes.size(), 1u);
    }
}

// Every move is heard at once; releasing the speaker's thumb plays a sound at the new level,
// unless another sound plays.
TEST(Desk, OnlyTheLeftButtonDragsAndEveryMoveWritesAtOnce) {
    FakePhone phone;
    FakeMixer* card = StartOverCard(phone, {L::Speaker, L::Microphone}, 0, 100);
    const VolumeSliders* sliders = phone.window.volumeSliders;
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        Drag(sliders->speakerSlider, {40}, button);
    EXPECT_TRUE(card->writes.empty());
    Drag(sliders->microphoneSlider, {-10, 10, 10});
    ASSERT_EQ(card->writes.size(), 3u);
    EXPECT_EQ(card->Last(L::Speaker), -1);
    EXPECT_LT(card->writes[0].value, 50);
    EXPECT_LT(card->writes[1].value, card->writes[2].value);
    EXPECT_TRUE(phone.player.played.isEmpty());
    Drag(sliders->speakerSlider, {5});
    ASSERT_EQ(phone.player.played.size(), 1);
    EXPECT_TRUE(phone.player.played[0].startsWith("idle "));
    EXPECT_TRUE(phone.player.played[0].endsWith("/ding.wav"));
}

}  // namespace
}  // namespace softphone::test
