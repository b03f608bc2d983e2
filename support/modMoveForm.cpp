#include "support/modMoveForm.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "support/Twips.h"

namespace softphone {
namespace {

struct DragState {
    QPoint windowStart;
    QPointF down;
    bool systemMove = false;
};
DragState g_drag;

QPoint Moved(QPointF globalPos) {
    const QPointF offset = globalPos - g_drag.down;
    return g_drag.windowStart + QPoint(RoundHalfEven(offset.x()), RoundHalfEven(offset.y()));
}

// Wayland lets no client place its own window: there the compositor moves it.
bool CompositorMovesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

void DragStart(QWidget* form, QPointF globalPos) {
    g_drag = {form->pos(), globalPos, false};
}

void DragMove(QWidget* form, QPointF globalPos) {
    if (g_drag.systemMove) return;
    if (CompositorMovesWindows() && form->windowHandle()) {
        g_drag.systemMove = form->windowHandle()->startSystemMove();
        if (g_drag.systemMove) return;
    }
    form->move(Moved(globalPos));
}

void DragEnd(QWidget* form, QPointF globalPos) {
    if (!g_drag.systemMove) form->move(Moved(globalPos));
    g_drag.systemMove = false;
}

DragHandle::DragHandle(QWidget* picture, QWidget* form) : QObject(picture), form_(form) {
    picture->installEventFilter(this);
}

bool DragHandle::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (pressed_ != Qt::NoButton) return true;
            pressed_ = mouse->button();
            down_ = mouse->globalPosition();
            DragStart(form_, down_);
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (pressed_ != Qt::NoButton && mouse->buttons() == Qt::LeftButton)
                DragMove(form_, mouse->globalPosition());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != pressed_) return true;
            pressed_ = Qt::NoButton;
            DragEnd(form_, mouse->globalPosition());
            const QPointF moved = mouse->globalPosition() - down_;
            if (mouse->button() == Qt::RightButton && RoundHalfEven(moved.x()) == 0 &&
                RoundHalfEven(moved.y()) == 0) {
                const QPoint global = mouse->globalPosition().toPoint();
                QContextMenuEvent menu(QContextMenuEvent::Mouse, form_->mapFromGlobal(global),
                                       global, mouse->modifiers());
                QCoreApplication::sendEvent(form_, &menu);
            }
            return true;
        }
        case QEvent::ContextMenu:
            // The platform asks for the menu at the press; it comes at the release instead.
            return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
        default:
            return false;
    }
}

}  // namespace softphone
