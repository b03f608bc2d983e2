#include "support/PictureButton.h"

#include <QGuiApplication>
#include <QPainter>

namespace softphone {
namespace {

constexpr qreal kDisabledOpacity = 0.45;

}  // namespace

PictureButton::PictureButton(const QString& name, const QString& caption, QRect place,
                             QWidget* parent)
    : QAbstractButton(parent) {
    setObjectName(name);
    setText(caption);
    setGeometry(place);
    setCursor(Qt::PointingHandCursor);
    // A click must not take the focus from the number field.
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::SetFaces(const QPixmap& off, const QPixmap& on) {
    off_ = off;
    on_ = on;
    update();
}

void PictureButton::SetPicture(const QPixmap& picture) { SetFaces(picture, picture); }

// Held down, the button lights while the pointer stays on it; pressed elsewhere and dragged
// over, it does not.
bool PictureButton::Lit() const {
    if (!isEnabled()) return false;
    return isDown() || (underMouse() && !(QGuiApplication::mouseButtons() & Qt::LeftButton));
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled()) painter.setOpacity(kDisabledOpacity);
    painter.drawPixmap(rect(), Lit() ? on_ : off_);
}

void PictureButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void PictureButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

}  // namespace softphone
