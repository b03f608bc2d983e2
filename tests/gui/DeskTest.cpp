#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSlider>

#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

// The main window over fakes, with a fake card, tray and browser.
struct Desk {
    FakePhone phone;
    HandsetWindow& window = phone.window;
    FakeTray* tray = phone.desk.tray;
    QMenu* trayMenu = phone.desk.trayMenu;
    std::function<std::unique_ptr<FakeMixer>()>& card = phone.desk.card;
    QList<QUrl>& opened = phone.desk.opened;

    void Start() {
        phone.StartRegistered();
        window.show();
    }

    QAction* Action(QMenu* menu, const QString& text) {
        for (QAction* a : menu->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
};

TEST(Desk, HideButtonTogglesBetweenWindowAndTrayIcon) {
    Desk d;
    d.Start();
    d.window.hideButton->clicked();
    EXPECT_TRUE(d.window.isHidden());
    EXPECT_TRUE(d.window.inTray);
    EXPECT_TRUE(d.tray->iconShown);
    EXPECT_EQ(d.tray->tip, "Softphone");
    EXPECT_EQ(d.tray->iconSize.height(), 33);

    d.window.OnHideClicked();
    EXPECT_TRUE(d.window.isVisible());
    EXPECT_FALSE(d.window.isMinimized());
    EXPECT_FALSE(d.window.inTray);
    EXPECT_FALSE(d.tray->iconShown);
}

TEST(Desk, TrayActivationRestoresByTheTraysKind) {
    struct Row {
        bool onlyActivation;
        TrayActivation reason;
        bool restores;
    };
    const Row rows[] = {
        {false, TrayActivation::DoubleClick, true},  {false, TrayActivation::Click, false},
        {false, TrayActivation::MiddleClick, false}, {false, TrayActivation::Other, false},
        {true, TrayActivation::Click, true},         {true, TrayActivation::Other, false},
    };
    for (const Row& row : rows) {
        Desk d;
        d.Start();
        d.tray->onlyActivation = row.onlyActivation;
        d.window.OnHideClicked();
        d.tray->Activate(row.reason);
        EXPECT_EQ(d.window.isVisible(), row.restores) << int(row.reason);
        EXPECT_EQ(d.tray->iconShown, !row.restores) << int(row.reason);
        EXPECT_EQ(d.window.inTray, !row.restores) << int(row.reason);
    }
}

TEST(Desk, TrayMenuOffersTheSettingsAndRestore) {
    Desk d;
    d.Start();
    ASSERT_TRUE(d.trayMenu);
    ASSERT_TRUE(d.Action(d.trayMenu, "&Login As..."));
    ASSERT_TRUE(d.Action(d.trayMenu, "&Tuning Wizard"));
    EXPECT_TRUE(d.Action(d.window.settingsMenu, "&Tuning Wizard"));
    d.window.OnHideClicked();
    d.Action(d.trayMenu, "Restore")->trigger();
    EXPECT_TRUE(d.window.isVisible());
    EXPECT_FALSE(d.tray->iconShown);
}

TEST(Desk, WithoutATrayTheWindowOnlyMinimises) {
    Desk d;
    d.Start();
    d.tray->available = false;
    d.window.OnHideClicked();
    EXPECT_FALSE(d.window.isHidden());
    EXPECT_TRUE(d.window.isMinimized());
    EXPECT_FALSE(d.tray->iconShown);
    EXPECT_FALSE(d.window.inTray);
}

TEST(Desk, CloseButtonLeavesNoIconBehind) {
    Desk d;
    d.Start();
    d.window.OnHideClicked();
    d.window.OnCloseClicked();
    EXPECT_FALSE(d.tray->iconShown);
}

TEST(Desk, TuningWizardFromButtonAndMenu) {
    Desk d;
    d.Start();
    d.window.tuningButton->clicked();
    d.window.tuningAction->trigger();
    EXPECT_EQ(d.phone.calls->count("TuningWizard"), 2);
    EXPECT_TRUE(d.phone.messages.shown.empty());
}

TEST(Desk, TuningWizardWithoutAnEngineSaysError) {
    Desk d;
    d.phone.noEngine = true;
    d.phone.SaveLogin("127.0.0.1:5070", "12345678901", "pw");
    d.window.Start();
    d.phone.messages.shown.clear();
    d.window.OnTuningClicked();
    ASSERT_EQ(d.phone.messages.Texts(), QStringList{"Error"});
    EXPECT_EQ(d.phone.messages.shown[0].title, "Softphone");
}

TEST(Desk, BannerOpensTheVendorsSite) {
    Desk d;
    d.Start();
    QLabel* banner = d.window.bannerLink;
    const QPointF inside(3, 3);
    QMouseEvent press(QEvent::MouseButtonPress, inside, banner->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, banner->mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(banner, &press);
    QApplication::sendEvent(banner, &release);
    ASSERT_EQ(d.opened.size(), 1);
    EXPECT_TRUE(d.opened[0].isValid());
    EXPECT_TRUE(d.opened[0].scheme().startsWith("http"));
}

TEST(Desk, SlidersFollowTheCardsLines) {
    struct Row {
        bool opens, wave, micro;
        QStringList messages;
    };
    const Row rows[] = {
        {false, true, true, {"No mixer found!"}},
        {true, true, false, {}},
        {true, false, true, {}},
    };
    for (const Row& row : rows) {
        Desk d;
        d.card = [row] {
            auto mixer = std::make_unique<FakeMixer>();
            mixer->opens = row.opens;
            if (row.wave) mixer->WithLine(MixerLine::Speaker, 0, 100);
            if (row.micro) mixer->WithLine(MixerLine::Microphone, 0, 100);
            return mixer;
        };
        d.Start();
        EXPECT_EQ(d.phone.messages.Texts(), row.messages);
        EXPECT_EQ(d.window.volumeSliders->speakerSlider->isVisible(), row.opens && row.wave);
        EXPECT_EQ(d.window.volumeSliders->microphoneSlider->isVisible(), row.opens && row.micro);
        EXPECT_EQ(d.window.volumeSliders->parent(), d.window.levelsPanel);
    }
}

TEST(Desk, PreparingAgainReplacesTheSliders) {
    Desk d;
    d.Start();
    d.window.PrepareVolumeSliders();
    EXPECT_EQ(d.window.levelsPanel->findChildren<QSlider*>().size(), 2);
}

TEST(Desk, ReleasingThePlaybackThumbPlaysDingIfIdle) {
    Desk d;
    d.Start();
    emit d.window.volumeSliders->speakerSlider->sliderReleased();
    ASSERT_EQ(d.phone.player.played.size(), 1);
    EXPECT_TRUE(d.phone.player.played[0].startsWith("idle "));
    EXPECT_TRUE(d.phone.player.played[0].endsWith("/ding.wav"));
}

}  // namespace
}  // namespace softphone::test
