#include "support/WindowDrag.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "support/Twips.h"

namespace softphone {

WindowDrag::WindowDrag(QWidget* handle, QWidget* window) : QObject(handle), window_(window) {
    handle->installEventFilter(this);
}

QPoint WindowDrag::movedTo(QPointF pointer) const {
    const QPointF offset = pointer - pressedAt_;
    return windowAt_ + QPoint(roundHalfEven(offset.x()), roundHalfEven(offset.y()));
}

bool WindowDrag::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (pressed_ == Qt::NoButton) {
                pressed_ = mouse->button();
                pressedAt_ = mouse->globalPosition();
                windowAt_ = window_->pos();
            }
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (pressed_ != Qt::LeftButton || mouse->buttons() != Qt::LeftButton) return true;
            // From here on the window manager has the pointer: the release never comes here.
            if (window_->windowHandle() && window_->windowHandle()->startSystemMove())
                pressed_ = Qt::NoButton;
            else
                window_->move(movedTo(mouse->globalPosition()));
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != pressed_) return true;
            pressed_ = Qt::NoButton;
            const QPoint moved = movedTo(mouse->globalPosition());
            window_->move(moved);
            if (mouse->button() == Qt::RightButton && moved == windowAt_) {
                const QPoint global = mouse->globalPosition().toPoint();
                QContextMenuEvent menu(QContextMenuEvent::Mouse, window_->mapFromGlobal(global),
                                       global, mouse->modifiers());
                QCoreApplication::sendEvent(window_, &menu);
            }
            return true;
        }
        case QEvent::ContextMenu:
            // The platform asks for the menu at the press; it comes at the release instead.
            return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
        default: return false;
    }
}

}  // namespace softphone
