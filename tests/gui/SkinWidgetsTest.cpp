// The skin's widgets as a user meets them: a picture button lit only under the pointer, dimmed
// and inert while disabled, one click per click, reachable by keyboard, named to screen readers,
// with its tip centred under it; a window dragged by its background, with a menu on a right click.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "support/CentredToolTip.h"
#include "support/PictureButton.h"
#include "support/WindowDrag.h"

namespace softphone::test {
namespace {

// Two bare picture buttons, red when lit and blue when dark, with room for a tip around them.
class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        QPixmap dark(48, 27), lit(48, 27);
        dark.fill(Qt::blue);
        lit.fill(Qt::red);
        for (PictureButton* key : {five, six}) key->setFaces(dark, lit);
        setCentredToolTip(five, "Five");
        window.setGeometry(200, 100, 200, 100);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // A move to where the pointer already is reaches nobody: start from a known place.
        QTest::mouseMove(window.windowHandle(), QPoint(1, 1));
    }
    // 'L' for the lit face, 'D' for the dark one, '-' for neither (dimmed).
    static char shown(PictureButton* key) {
        const QColor drawn = key->grab().toImage().pixelColor(key->rect().center());
        return drawn == QColor(Qt::red) ? 'L' : drawn == QColor(Qt::blue) ? 'D' : '-';
    }
    // Moves ('m'), presses ('p') or releases ('r') the left button over `local` in `control`.
    void mouse(char what, QWidget* control, QPoint local) {
        QTest::mouseEvent(what == 'm'   ? QTest::MouseMove
                          : what == 'p' ? QTest::MousePress
                                        : QTest::MouseRelease,
                          window.windowHandle(), Qt::LeftButton, {},
                          control->mapTo(&window, local));
    }

    QWidget window;
    PictureButton* five = new PictureButton("five", "5", {10, 40, 48, 27}, &window);
    PictureButton* six = new PictureButton("six", "6", {70, 40, 48, 27}, &window);
};

// Lit only while the pointer is on it, a click only for a press and release on it, never holding
// the mouse; a disabled button neither lights nor clicks, nor does it hold on to the mouse when
// its own click disables it.
TEST_F(PictureButtonTest, LitOnlyUnderThePointerAndClickedByAPressAndReleaseOnIt) {
    // The face afterwards and the clicks, then " held" if a widget holds the mouse, after
    // `steps`: each an action ('m', 'p', 'r') over the middle of 5 ('5') or just beyond its right
    // ('x').
    const auto after = [&](const QString& steps, bool enabled = true) {
        QTest::mouseMove(window.windowHandle(), QPoint(1, 1));
        five->setEnabled(enabled);
        QSignalSpy clicks(five, &PictureButton::clicked);
        for (const QString& step : steps.split(' '))
            mouse(step[0].toLatin1(), five,
                  step[1] == '5' ? five->rect().center() : QPoint(five->width(), 10));
        const bool held = QWidget::mouseGrabber();  // lighting never holds the mouse
        return shown(five) + QString::number(clicks.count()) + (held ? " held" : "");
    };
    EXPECT_EQ(after("m5"), "L0");
    EXPECT_EQ(after("m5 mx"), "D0");
    EXPECT_EQ(after("m5 p5 r5"), "L1");
    EXPECT_EQ(after("m5 p5 mx rx"), "D0");
    EXPECT_EQ(after("m5 p5 r5", false), "-0");
    five->setEnabled(true);
    QObject::connect(five, &PictureButton::clicked, [this] { five->setEnabled(false); });
    QSignalSpy sixes(six, &PictureButton::clicked);
    for (QWidget* button : {five, six})
        for (char what : {'m', 'p', 'r'}) mouse(what, button, button->rect().center());
    EXPECT_EQ(sixes.count(), 1);
}

// Tab reaches a picture button, which shows the focus and takes Space, Return and Enter as
// clicks; a screen reader names it by its caption, and its tip shows centred under it.
TEST_F(PictureButtonTest, ReachedByKeyboardAndNamedAndTippedForEveryone) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    six->setFocus();
    QTest::keyClick(six, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), five);
    const QImage withFocus = five->grab().toImage();
    QSignalSpy clicks(five, &PictureButton::clicked);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(five, key);
    EXPECT_EQ(clicks.count(), 3);
    five->clearFocus();
    EXPECT_NE(five->grab().toImage(), withFocus) << "the focus is drawn";
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(six);
    EXPECT_TRUE(reader->role() == QAccessible::Button && reader->text(QAccessible::Name) == "6");

    mouse('m', five, five->rect().center());
    ASSERT_TRUE(
        QTest::qWaitFor([] { return QToolTip::isVisible() && QToolTip::text() == "Five"; }, 3000));
    const QWidget* tip = five->findChild<QWidget*>("qtooltip_label");  // Qt's tip window
    ASSERT_TRUE(tip && tip->isVisible());
    const QRect under(five->mapToGlobal(QPoint(0, 0)), five->size());
    EXPECT_NEAR(QRect(tip->pos(), tip->size()).center().x(), under.center().x(), 1);
    EXPECT_EQ(tip->pos().y(), under.bottom() + 3);
}

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
    // Presses `button` over the picture, moves the pointer by each offset from the press in turn
    // and releases at `release`; returns the menus opened.
    const auto drag = [&](Qt::MouseButton button, std::vector<QPoint> moves, QPoint release) {
        SCOPED_TRACE(testing::Message() << int(button) << " released at " << release.x());
        menus.clear();
        const QPoint start = window.pos();
        const QPoint grab = start + QPoint(50, 60);  // on the screen, over the picture
        // Mouse events at a screen position, whatever the window's position is by then.
        auto local = [&](QPoint offset) { return grab + offset - window.geometry().topLeft(); };
        QTest::mousePress(window.windowHandle(), button, {}, local({}));
        for (QPoint move : moves) {
            QTest::mouseMove(window.windowHandle(), local(move));
            EXPECT_EQ(window.pos(), start + (button == Qt::LeftButton ? move : QPoint()));
        }
        EXPECT_EQ(menus.count(), 0) << "never at the press or while moving";
        QTest::mouseRelease(window.windowHandle(), button, {}, local(release));
        EXPECT_EQ(window.pos(), start + release);
        return menus.count();
    };
    EXPECT_EQ(drag(Qt::LeftButton, {{10, 0}, {25, -7}}, {10, 0}), 0);
    EXPECT_EQ(drag(Qt::RightButton, {}, {0, 0}), 1);
    EXPECT_EQ(drag(Qt::RightButton, {{12, 3}}, {12, 3}), 0);
}

}  // namespace
}  // namespace softphone::test
