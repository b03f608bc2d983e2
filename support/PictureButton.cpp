#include "support/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace softphone {

PictureButton::PictureButton(const QString& name, const QString& caption, QRect place,
                             QWidget* parent)
    : QWidget(parent), caption_(caption) {
    setObjectName(name);
    setGeometry(place);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        painter.drawPixmap(rect(), picture_);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(isEnabled() ? "#d8dee9" : "#6b7280"));
    painter.setBrush(QColor(isEnabled() ? "#3b4252" : "#2e3440"));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.drawText(rect(), Qt::AlignCenter, caption_);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

}  // namespace softphone
