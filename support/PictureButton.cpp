#include "support/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "support/HotButtons.h"

namespace softphone {

PictureButton::PictureButton(const QString& name, const QString& caption, QRect place,
                             QWidget* parent)
    : QWidget(parent), caption_(caption) {
    setObjectName(name);
    setGeometry(place);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void PictureButton::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureButton::SetFaces(const QPixmap& off, const QPixmap& on) {
    off_ = off;
    on_ = on;
    ShowFace(false);
}

void PictureButton::ShowFace(bool lit) {
    lit_ = lit;
    SetPicture(lit ? on_ : off_);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        if (!isEnabled()) painter.setOpacity(0.45);
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

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    if (group_) group_->MouseMove(this, event->position());
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    QPointer<PictureButton> self(this);
    // The mouse is free while the click runs: it may open a modal window or disable us.
    if (group_) group_->ClickStarts(this);
    if (click) emit clicked();
    if (self && group_) group_->MouseUp(this);
}

void PictureButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled() && group_) group_->Drop(this);
    QWidget::changeEvent(event);
}

void PictureButton::hideEvent(QHideEvent* event) {
    if (group_) group_->Drop(this);
    QWidget::hideEvent(event);
}

}  // namespace softphone
