// The handset's picture buttons as a user meets them: lit under the pointer, dark when it
// leaves, dimmed and inert while disabled, one click per click, and reachable by keyboard.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include "support/PictureButton.h"
#include "support/Skin.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.ShowControls(PhoneController::Controls::Idle);
        // A move to where the pointer already is reaches nobody: start from a known place.
        QTest::mouseMove(Handle(), QPoint(1, 1));
    }

    QWindow* Handle() { return window.windowHandle(); }
    QPoint At(QWidget* button, QPoint local) { return button->mapTo(&window, local); }
    void Move(QWidget* button, QPoint local) { QTest::mouseMove(Handle(), At(button, local)); }
    void Press(QWidget* button, QPoint local) {
        QTest::mousePress(Handle(), Qt::LeftButton, {}, At(button, local));
    }
    void Release(QWidget* button, QPoint local) {
        QTest::mouseRelease(Handle(), Qt::LeftButton, {}, At(button, local));
    }
    static QPoint Middle(QWidget* w) { return QPoint(w->width() / 2, w->height() / 2); }
    // Counts the clicks of `button` from now on, instead of what they would do.
    int& Clicks(PictureButton* button) {
        QObject::disconnect(button, &PictureButton::clicked, nullptr, nullptr);
        QObject::connect(button, &PictureButton::clicked, &window, [this] { ++clicks_; });
        return clicks_;
    }

    // What the button draws, without what lies behind it.
    static QImage Seen(QWidget* button) {
        QImage drawn(button->size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        button->render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);
        return drawn;
    }
    static QImage KeyFace(PictureButton* key, bool lit) {
        return DialKeyPixmap(key->text(), lit)
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    static bool Lit(PictureButton* key) { return Seen(key) == KeyFace(key, true); }
    static bool Dark(PictureButton* key) { return Seen(key) == KeyFace(key, false); }

    FakePhone phone;
    HandsetWindow& window = phone.window;
    PictureButton* five = window.dialKeys[4];
    PictureButton* six = window.dialKeys[5];
    int clicks_ = 0;
};

TEST_F(PictureButtonTest, LitUnderThePointerDarkWhenItLeavesByAnyEdge) {
    ASSERT_TRUE(Dark(five));
    const QPoint beyond[] = {{-1, 10}, {10, -1}, {five->width(), 10}, {10, five->height()}};
    for (QPoint outside : beyond) {
        SCOPED_TRACE(QString("%1,%2").arg(outside.x()).arg(outside.y()).toStdString());
        Move(five, Middle(five));
        EXPECT_TRUE(Lit(five));
        Move(five, outside);
        EXPECT_TRUE(Dark(five));
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "lighting never holds the mouse";
    }
}

TEST_F(PictureButtonTest, FromFiveStraightOntoSixPassesTheLight) {
    Move(five, Middle(five));
    Move(six, Middle(six));
    EXPECT_TRUE(Dark(five));
    EXPECT_TRUE(Lit(six));
}

TEST_F(PictureButtonTest, ClickFiresOnceAndTheButtonStaysLitUntilLeft) {
    int& clicks = Clicks(five);
    Move(five, Middle(five));
    Press(five, Middle(five));
    Release(five, Middle(five));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Lit(five));
    Move(five, QPoint(-5, -5));
    EXPECT_TRUE(Dark(five));
}

TEST_F(PictureButtonTest, PressDraggedOffGoesDarkAndReleasingThereDoesNotClick) {
    int& clicks = Clicks(five);
    Move(five, Middle(five));
    Press(five, Middle(five));
    Move(five, QPoint(-8, 5));
    EXPECT_TRUE(Dark(five));
    Release(five, QPoint(-8, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(Dark(five));
}

TEST_F(PictureButtonTest, DisabledButtonIsDimmedNeverLitAndDoesNotClick) {
    PictureButton* end = window.endButton;
    ASSERT_FALSE(end->isEnabled());
    int& clicks = Clicks(end);
    const QImage dimmed = Seen(end);
    Move(end, Middle(end));
    Press(end, Middle(end));
    Release(end, Middle(end));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Seen(end), dimmed) << "never lit";
    end->setEnabled(true);
    const QImage normal = Seen(end);
    const QPoint centre = Middle(end);
    ASSERT_EQ(qAlpha(normal.pixel(centre)), 255);
    EXPECT_NEAR(qAlpha(dimmed.pixel(centre)), 0.45 * 255, 2) << "drawn at 45 %";
}

TEST_F(PictureButtonTest, DialTurnedOffByItsOwnClickLeavesEndWorking) {
    QObject::disconnect(window.dialButton, &PictureButton::clicked, nullptr, nullptr);
    QObject::connect(window.dialButton, &PictureButton::clicked, &window,
                     [this] { window.ShowControls(PhoneController::Controls::InCall); });
    int& ends = Clicks(window.endButton);
    for (PictureButton* button : {window.dialButton, window.endButton}) {
        Move(button, Middle(button));
        Press(button, Middle(button));
        Release(button, Middle(button));
    }
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(PictureButtonTest, TabReachesTheButtonsAndSpaceOrEnterPressesThem) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.numberBox->setFocus();
    QTest::keyClick(window.numberBox, Qt::Key_Tab);
    auto* focused = qobject_cast<PictureButton*>(QApplication::focusWidget());
    ASSERT_NE(focused, nullptr) << "Tab leaves the number field for a picture button";
    int& clicks = Clicks(focused);
    QTest::keyClick(focused, Qt::Key_Space);
    QTest::keyClick(focused, Qt::Key_Return);
    QTest::keyClick(focused, Qt::Key_Enter);
    EXPECT_EQ(clicks, 3);
    const QImage withFocus = Seen(focused);
    focused->clearFocus();
    EXPECT_NE(Seen(focused), withFocus) << "the focus is drawn";
}

TEST_F(PictureButtonTest, ScreenReadersMeetButtonsNamedByTheirTipsOrKeys) {
    phone.StartRegistered();
    std::vector<std::pair<PictureButton*, QString>> names = {
        {window.dialButton, "Click to Make Call"},
        {window.endButton, "Click to End Call"},
        {window.phoneBookButton, "SoftPhone Book"},
        {window.closeButton, "Close and Exit Application"},
    };
    const char* keys = "123456789*0#";
    for (int i = 0; i < 12; ++i) names.push_back({window.dialKeys[size_t(i)], QString(keys[i])});
    for (const auto& [button, name] : names) {
        SCOPED_TRACE(name.toStdString());
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->role(), QAccessible::Button);
        EXPECT_EQ(seen->text(QAccessible::Name), name);
    }
}

}  // namespace
}  // namespace softphone::test
