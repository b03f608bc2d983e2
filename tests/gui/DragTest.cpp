// Dragging a window by its background picture, and the settings menu on a right click there.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "support/WindowDrag.h"

namespace softphone {
namespace {

// Without a window manager (offscreen) the window follows the pointer itself: live with the
// left button, at the release with the right one, whose click alone opens the menu.
TEST(WindowDrag, MovesByThePointersMovement) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy menus(&window, &QWidget::customContextMenuRequested);
    window.setGeometry(100, 100, 200, 150);
    auto* picture = new QLabel(&window);
    picture->setGeometry(0, 0, 200, 150);
    new WindowDrag(picture, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const struct {
        Qt::MouseButton button;
        std::vector<QPoint> moves;  // pointer offsets from the press
        QPoint release;
        bool menu;
    } rows[] = {
        {Qt::LeftButton, {{10, 0}, {25, -7}}, {10, 0}, false},
        {Qt::RightButton, {}, {0, 0}, true},
        {Qt::RightButton, {{12, 3}}, {12, 3}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.button));
        menus.clear();
        const QPoint start = window.pos();
        const QPoint grab = start + QPoint(50, 60);  // on the screen, over the picture
        // Mouse events at a screen position, whatever the window's position is by then.
        auto local = [&](QPoint offset) { return grab + offset - window.geometry().topLeft(); };
        QTest::mousePress(window.windowHandle(), row.button, {}, local({}));
        for (QPoint move : row.moves) {
            QTest::mouseMove(window.windowHandle(), local(move));
            EXPECT_EQ(window.pos(), start + (row.button == Qt::LeftButton ? move : QPoint()));
        }
        EXPECT_EQ(menus.count(), 0) << "never at the press or while moving";
        QTest::mouseRelease(window.windowHandle(), row.button, {}, local(row.release));
        EXPECT_EQ(window.pos(), start + row.release);
        EXPECT_EQ(menus.count(), int(row.menu));
    }
}

}  // namespace
}  // namespace softphone
