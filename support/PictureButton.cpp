#include "support/PictureButton.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

namespace softphone {
namespace {

constexpr qreal kDisabledOpacity = 0.45;
// The focus ring takes the number field's selection colour, so it reads as part of the skin.
const QColor kFocusRing(0x3b, 0xb4, 0xe6);

}  // namespace

PictureButton::PictureButton(const QString& name, const QString& caption, QRect place,
                             QWidget* parent)
    : QAbstractButton(parent) {
    setObjectName(name);
    setText(caption);
    setGeometry(place);
    setCursor(Qt::PointingHandCursor);
    // A click must not take the focus from the number field; Tab reaches the button.
    setFocusPolicy(Qt::TabFocus);
}

void PictureButton::setFaces(const QPixmap& off, const QPixmap& on) {
    off_ = off;
    on_ = on;
    update();
}

void PictureButton::setPicture(const QPixmap& picture) { setFaces(picture, picture); }

// Held down, the button lights while the pointer stays on it; pressed elsewhere and dragged
// over, it does not.
bool PictureButton::lit() const {
    if (!isEnabled()) return false;
    return isDown() || (underMouse() && !(QGuiApplication::mouseButtons() & Qt::LeftButton));
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled()) painter.setOpacity(kDisabledOpacity);
    painter.drawPixmap(rect(), lit() ? on_ : off_);
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kFocusRing, 1.5));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void PictureButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void PictureButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace softphone
