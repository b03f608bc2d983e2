#include "support/CentredToolTip.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace softphone {
namespace {

// Qt's tip: a label window named so by QToolTip.
QWidget* shownTip() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("qtooltip_label") && window->isVisible())
            return window;
    return nullptr;
}

void showUnder(QWidget* control) {
    const QRect area(control->mapToGlobal(QPoint(0, 0)), control->size());
    QToolTip::showText(area.center(), control->toolTip(), control);
    // QToolTip puts the tip beside the pointer; it moves centred under the control, on screen.
    QWidget* tip = shownTip();
    if (!tip) return;
    QPoint at(area.center().x() - tip->width() / 2, area.bottom() + 3);
    if (const QScreen* screen = control->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(
            std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - tip->width())));
        at.setY(
            std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - tip->height())));
    }
    tip->move(at);
}

// Answers the control's tooltip requests; Qt draws the tip and hides it when the pointer
// leaves, a button is pressed or the window changes.
class TipPlacer : public QObject {
public:
    explicit TipPlacer(QWidget* control) : QObject(control) { control->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::EnabledChange && !control->isEnabled() &&
            QToolTip::text() == control->toolTip())
            QToolTip::hideText();
        if (event->type() != QEvent::ToolTip) return false;
        // Qt shows the tips of disabled widgets too.
        if (control->isEnabled())
            showUnder(control);
        else
            event->ignore();
        return true;
    }
};

}  // namespace

void setCentredToolTip(QWidget* control, const QString& text) {
    control->setToolTip(text);
    // Qt's tip in the palette's tooltip colours, with the skin's roomier margin. The rule sits
    // on the control itself: on a window it would also restyle the dialogs it opens.
    control->setStyleSheet(control->styleSheet() +
                           QLatin1String(" QToolTip { padding: 2px 2px 3px 2px; }"));
    new TipPlacer(control);
}

}  // namespace softphone
