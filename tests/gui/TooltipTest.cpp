// The handset's tips as a user meets them: the right text under the right control, centred
// under it, and none over a disabled control.
#include <gtest/gtest.h>

#include <QTest>
#include <QToolTip>

#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

class TooltipTest : public ::testing::Test {
protected:
    void SetUp() override {
        phone.StartRegistered();
        window.move(200, 100);  // room for the tips on all sides
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override {
        QToolTip::hideText();
        test::WaitUntil([] { return !QToolTip::isVisible(); }, 2000);
    }

    void RestOn(QWidget* control) {
        const QPoint middle = control->mapTo(&window, control->rect().center());
        // A move to where the pointer already is reaches nobody.
        QTest::mouseMove(window.windowHandle(), middle - QPoint(1, 0));
        QTest::mouseMove(window.windowHandle(), middle);
    }
    // Rests the pointer on `control` and waits for a tip with `text`.
    bool TipShows(QWidget* control, const QString& text, int timeoutMs = 3000) {
        RestOn(control);
        return test::WaitUntil([&] { return QToolTip::isVisible() && QToolTip::text() == text; },
                               timeoutMs);
    }
    // Qt's tip window.
    static QWidget* Tip() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "qtooltip_label" && w->isVisible()) return w;
        return nullptr;
    }

    FakePhone phone;
    HandsetWindow& window = phone.window;
};

TEST_F(TooltipTest, EachControlShowsItsOwnTextCentredUnderIt) {
    const std::pair<QWidget*, QString> tips[] = {
        {window.dialButton, "Click to Make Call"},
        {window.phoneBookButton, "SoftPhone Book"},
        {window.loginButton, "Login Server"},
        {window.recentButton, "Recent Call"},
        {window.clearButton, "Clear Current Number"},
        {window.backButton, "Clear Current Number one by one"},
        {window.tuningButton, "Audio Wizard"},
        {window.hideButton, "Hide Application to System Tray"},
        {window.closeButton, "Close and Exit Application"},
        {window.numberBox, "Include International Country Code"},
    };
    for (const auto& [control, text] : tips) {
        SCOPED_TRACE(text.toStdString());
        ASSERT_TRUE(TipShows(control, text));
        ASSERT_NE(Tip(), nullptr);
        const QRect under(control->mapToGlobal(QPoint(0, 0)), control->size());
        const QRect tip(Tip()->pos(), Tip()->size());
        EXPECT_NEAR(tip.center().x(), under.center().x(), 1);
        EXPECT_EQ(tip.top(), under.bottom() + 3);
    }
}

TEST_F(TooltipTest, DisabledControlShowsNoTip) {
    ASSERT_FALSE(window.endButton->isEnabled());
    ASSERT_FALSE(TipShows(window.endButton, "Click to End Call", 1500));
    window.ShowControls(PhoneController::Controls::InCall);
    ASSERT_TRUE(TipShows(window.endButton, "Click to End Call"));
    window.ShowControls(PhoneController::Controls::Idle);
    EXPECT_TRUE(test::WaitUntil([] { return !QToolTip::isVisible(); }, 2000))
        << "the tip goes with the control";
}

TEST_F(TooltipTest, EmptyTextShowsNoTip) {
    window.dialButton->setToolTip(QString());
    RestOn(window.dialButton);
    EXPECT_FALSE(test::WaitUntil([] { return QToolTip::isVisible(); }, 1500));
}

}  // namespace
}  // namespace softphone::test
