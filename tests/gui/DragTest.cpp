// Dragging a window by its background picture, and the settings menu on a right click there.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLabel>
#include <QTest>

#include "support/modMoveForm.h"

namespace softphone {
namespace {

class MenuCountingWindow : public QWidget {
  public:
    MenuCountingWindow() : QWidget(nullptr, Qt::FramelessWindowHint) {}
    int menus = 0;

  protected:
    void contextMenuEvent(QContextMenuEvent*) override { ++menus; }
};

class DragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setGeometry(100, 100, 200, 150);
        picture->setGeometry(0, 0, 200, 150);
        new DragHandle(picture, &window);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        start = window.pos();
    }
    // Mouse events at a screen position, whatever the window's position is by then.
    QPoint Local(QPoint global) const { return global - window.geometry().topLeft(); }
    void Press(Qt::MouseButton b, QPoint g) {
        QTest::mousePress(window.windowHandle(), b, {}, Local(g));
    }
    void Move(QPoint g) { QTest::mouseMove(window.windowHandle(), Local(g)); }
    void Release(Qt::MouseButton b, QPoint g) {
        QTest::mouseRelease(window.windowHandle(), b, {}, Local(g));
    }

    MenuCountingWindow window;
    QLabel* picture = new QLabel(&window);
    QPoint start;
    const QPoint grab{150, 160};  // on the screen, over the picture
};

TEST_F(DragTest, PressAndReleaseWithoutMovingLeavesTheWindowInPlace) {
    Press(Qt::LeftButton, grab);
    Release(Qt::LeftButton, grab);
    EXPECT_EQ(window.pos(), start);
    EXPECT_EQ(window.menus, 0);
}

TEST_F(DragTest, LeftDragMovesTheWindowLiveByTheMouseMovement) {
    Press(Qt::LeftButton, grab);
    Move(grab + QPoint(10, 0));  // 150 twips
    EXPECT_EQ(window.pos(), start + QPoint(10, 0)) << "moves while dragged";
    Move(grab + QPoint(25, -7));
    EXPECT_EQ(window.pos(), start + QPoint(25, -7));
    Release(Qt::LeftButton, grab + QPoint(10, 0));
    EXPECT_EQ(window.pos(), start + QPoint(10, 0));
}

TEST_F(DragTest, RightClickWithoutMovingOpensTheMenuAtTheRelease) {
    Press(Qt::RightButton, grab);
    EXPECT_EQ(window.menus, 0);
    Release(Qt::RightButton, grab);
    EXPECT_EQ(window.menus, 1);
    EXPECT_EQ(window.pos(), start);
}

TEST_F(DragTest, RightDragMovesTheWindowAtTheReleaseWithoutMenu) {
    Press(Qt::RightButton, grab);
    Move(grab + QPoint(12, 3));
    EXPECT_EQ(window.pos(), start) << "only the left button moves the window live";
    Release(Qt::RightButton, grab + QPoint(12, 3));
    EXPECT_EQ(window.pos(), start + QPoint(12, 3));
    EXPECT_EQ(window.menus, 0);
}

}  // namespace
}  // namespace softphone
