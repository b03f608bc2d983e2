#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>

class QWidget;

namespace softphone {

// Makes `handle`, a window's background picture, drag `window`. With the left button the
// window moves while dragged: by the window manager (QWindow::startSystemMove) where there is
// one, else by following the pointer. With another button it moves at the release by the
// pointer's movement. A right click without movement opens the window's context menu at the
// release, never at the press of a drag.
class WindowDrag : public QObject {
public:
    WindowDrag(QWidget* handle, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint movedTo(QPointF pointer) const;

    QWidget* window_;
    Qt::MouseButton pressed_ = Qt::NoButton;
    QPointF pressedAt_;  // on the screen
    QPoint windowAt_;    // the window's place at the press
};

}  // namespace softphone
