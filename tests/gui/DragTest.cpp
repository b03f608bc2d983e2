// Dragging a window by its background picture, and the settings menu on a right click there.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "support/WindowDrag.h"

namespace softphone {
namespace {

// Without a window manager (offscreen) the window follows the pointer itself.
TEST(WindowDrag, MovesByThePointersMovement) {
    struct Row {
        const char* name;
        Qt::MouseButton button;
        std::vector<QPoint> moves;  // pointer offsets from the press, each with where the window is
        std::vector<QPoint> windowWhileMoving;
        QPoint release;
        int menus;
    };
    const Row rows[] = {
        {"click", Qt::LeftButton, {}, {}, {0, 0}, 0},
        {"left drag moves live",
         Qt::LeftButton,
         {{10, 0}, {25, -7}},
         {{10, 0}, {25, -7}},
         {10, 0},
         0},
        {"right click opens the menu", Qt::RightButton, {}, {}, {0, 0}, 1},
        {"right drag moves at the release", Qt::RightButton, {{12, 3}}, {{0, 0}}, {12, 3}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.setContextMenuPolicy(Qt::CustomContextMenu);
        QSignalSpy menus(&window, &QWidget::customContextMenuRequested);
        window.setGeometry(100, 100, 200, 150);
        auto* picture = new QLabel(&window);
        picture->setGeometry(0, 0, 200, 150);
        new WindowDrag(picture, &window);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();
        const QPoint grab(150, 160);  // on the screen, over the picture
        // Mouse events at a screen position, whatever the window's position is by then.
        auto local = [&](QPoint offset) { return grab + offset - window.geometry().topLeft(); };
        QTest::mousePress(window.windowHandle(), row.button, {}, local({}));
        for (size_t i = 0; i < row.moves.size(); ++i) {
            QTest::mouseMove(window.windowHandle(), local(row.moves[i]));
            EXPECT_EQ(window.pos(), start + row.windowWhileMoving[i]);
        }
        EXPECT_EQ(menus.count(), 0) << "never at the press or while moving";
        QTest::mouseRelease(window.windowHandle(), row.button, {}, local(row.release));
        EXPECT_EQ(window.pos(), start + row.release);
        EXPECT_EQ(menus.count(), row.menus);
    }
}

}  // namespace
}  // namespace softphone
