// The handset's lit buttons under synthetic mouse events: lighting, darkening, the shared flag,
// who holds the mouse, and buttons that are disabled or open modal windows.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QTimer>

#include "support/HotButtons.h"
#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

namespace softphone::test {
namespace {

class HotButtonsTest : public ::testing::Test {
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
    void Click(QWidget* button) {
        Move(button, Middle(button));
        Press(button, Middle(button));
        Release(button, Middle(button));
    }
    static QPoint Middle(QWidget* w) { return QPoint(w->width() / 2, w->height() / 2); }
    // Replaces what a button's click does with `action`.
    void OnClick(PictureButton* button, std::function<void()> action) {
        QObject::disconnect(button, &PictureButton::clicked, nullptr, nullptr);
        QObject::connect(button, &PictureButton::clicked, &window, std::move(action));
    }
    bool Hot() const { return window.hotButtons->blnButtonHot; }

    FakePhone phone;
    HandsetWindow& window = phone.window;
    PictureButton* five = window.dialKeys[4];
    PictureButton* six = window.dialKeys[5];
};

TEST_F(HotButtonsTest, PointerOntoFiveLightsItAndItHoldsTheMouse) {
    Move(five, Middle(five));
    EXPECT_TRUE(five->Lit());
    EXPECT_TRUE(Hot());
    EXPECT_EQ(QWidget::mouseGrabber(), five);
}

TEST_F(HotButtonsTest, LeavingByAnyEdgeDarkensAndFreesTheMouse) {
    const QPoint beyond[] = {{-1, 10}, {10, -1}, {five->width() + 1, 10}, {10, five->height() + 1}};
    for (QPoint outside : beyond) {
        SCOPED_TRACE(QString("%1,%2").arg(outside.x()).arg(outside.y()).toStdString());
        Move(five, Middle(five));
        ASSERT_TRUE(five->Lit());
        Move(five, outside);
        EXPECT_FALSE(five->Lit());
        EXPECT_FALSE(Hot());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    }
}

TEST_F(HotButtonsTest, RightAndBottomEdgesCountAsInside) {
    Move(five, Middle(five));
    Move(five, QPoint(five->width(), five->height()));
    EXPECT_TRUE(five->Lit());
    EXPECT_EQ(QWidget::mouseGrabber(), five);
}

TEST_F(HotButtonsTest, FromFiveOntoSixSwitchesFiveOffThenSixOn) {
    Move(five, Middle(five));
    Move(six, Middle(six));
    EXPECT_FALSE(five->Lit());
    EXPECT_FALSE(six->Lit()) << "the first move outside only lets five go";
    Move(six, Middle(six) + QPoint(1, 0));
    EXPECT_TRUE(six->Lit());
    EXPECT_EQ(QWidget::mouseGrabber(), six);
}

TEST_F(HotButtonsTest, ClickKeepsTheButtonLitUntilThePointerLeaves) {
    int clicks = 0;
    OnClick(five, [&] { ++clicks; });
    Click(five);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(five->Lit());
    EXPECT_TRUE(Hot());
    EXPECT_EQ(QWidget::mouseGrabber(), five);
    Move(five, QPoint(-5, -5));
    EXPECT_FALSE(five->Lit());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(HotButtonsTest, PressDragOffAndReleaseTakesTheMouseBackThenLetsGo) {
    int clicks = 0;
    OnClick(five, [&] { ++clicks; });
    Move(five, Middle(five));
    Press(five, Middle(five));
    Move(five, QPoint(-8, 5));
    EXPECT_FALSE(five->Lit());
    Release(five, QPoint(-8, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(Hot());
    EXPECT_EQ(QWidget::mouseGrabber(), five);
    EXPECT_FALSE(five->Lit()) << "the release does not touch the image";
    Move(five, QPoint(-9, 5));
    EXPECT_FALSE(Hot());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(HotButtonsTest, DisabledButtonNeitherLightsNorClicks) {
    ASSERT_FALSE(window.endButton->isEnabled());
    int clicks = 0;
    OnClick(window.endButton, [&] { ++clicks; });
    Click(window.endButton);
    EXPECT_FALSE(window.endButton->Lit());
    EXPECT_EQ(clicks, 0);
    EXPECT_NE(QWidget::mouseGrabber(), window.endButton);
}

TEST_F(HotButtonsTest, EndStillClicksAfterDialSwitchedToTheInCallControls) {
    OnClick(window.dialButton, [&] { window.ShowControls(PhoneController::Controls::InCall); });
    int ends = 0;
    OnClick(window.endButton, [&] { ++ends; });
    Click(window.dialButton);
    ASSERT_FALSE(window.dialButton->isEnabled());
    EXPECT_FALSE(window.dialButton->Lit());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "a disabled button never holds the mouse";
    Click(window.endButton);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(window.endButton->Lit());
}

TEST_F(HotButtonsTest, ModalWindowOpenedByAClickGetsTheMouse) {
    QWidget* grabberWhileOpen = window.phoneBookButton;
    bool hotWhileOpen = true;
    OnClick(window.phoneBookButton, [&] {
        QDialog book(&window);
        QTimer::singleShot(50, &book, [&] {
            grabberWhileOpen = QWidget::mouseGrabber();
            hotWhileOpen = Hot();
            book.accept();
        });
        book.exec();
    });
    Click(window.phoneBookButton);
    EXPECT_EQ(grabberWhileOpen, nullptr);
    EXPECT_FALSE(hotWhileOpen);
    EXPECT_FALSE(window.phoneBookButton->Lit());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    Move(window.phoneBookButton, Middle(window.phoneBookButton) + QPoint(1, 0));
    EXPECT_TRUE(window.phoneBookButton->Lit()) << "lights again on the next move over it";
}

TEST_F(HotButtonsTest, HidingTheWindowFreesTheMouse) {
    Move(five, Middle(five));
    ASSERT_EQ(QWidget::mouseGrabber(), five);
    window.hide();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(five->Lit());
    EXPECT_FALSE(Hot());
}

}  // namespace
}  // namespace softphone::test
