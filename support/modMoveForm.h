#pragma once

#include <QObject>
#include <QPointF>

class QWidget;

namespace softphone {

// One drag at a time for the whole program. Positions are the mouse's on the screen, in pixels.
// The window follows the left button live; at release it stands at its start position plus
// the mouse's movement since the press, whatever the button.
void DragStart(QWidget* form, QPointF globalPos);
void DragMove(QWidget* form, QPointF globalPos);
void DragEnd(QWidget* form, QPointF globalPos);

// Makes `picture` the drag handle of `form`. A right-button press and release without movement
// reaches `form` as its context-menu event at the release, so the menu never opens at the press
// of a drag.
class DragHandle : public QObject {
    Q_OBJECT
  public:
    DragHandle(QWidget* picture, QWidget* form);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* form_;
    Qt::MouseButton pressed_ = Qt::NoButton;
    QPointF down_;
};

}  // namespace softphone
