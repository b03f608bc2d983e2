#include "support/HotButtons.h"

#include <QApplication>
#include <QEvent>

#include "support/PictureButton.h"

namespace softphone {
namespace {

bool Outside(const PictureButton* button, QPointF pos) {
    return pos.x() < 0 || pos.y() < 0 || pos.x() > button->width() || pos.y() > button->height();
}

bool CanHoldMouse(const PictureButton* button) {
    const QWidget* modal = QApplication::activeModalWidget();
    return button->isEnabled() && button->isVisible() && (!modal || modal == button->window());
}

}  // namespace

HotButtons::HotButtons(QWidget* window) : QObject(window) {
    window->installEventFilter(this);
}

void HotButtons::Add(PictureButton* button) {
    button->JoinHotGroup(this);
}

void HotButtons::MouseMove(PictureButton* button, QPointF pos) {
    if (!blnButtonHot) {
        // Without the mouse held, a move reaches a button only while the pointer is over it,
        // except during a press that began on it.
        if (Outside(button, pos) || !CanHoldMouse(button)) return;
        blnButtonHot = true;
        button->ShowFace(true);
        Capture(button);
        return;
    }
    if (!Outside(button, pos)) return;
    blnButtonHot = false;
    button->ShowFace(false);
    ReleaseCapture();
}

void HotButtons::ClickStarts(PictureButton* button) {
    clicking_ = button;
    droppedDuringClick_ = false;
    ReleaseCapture();
}

void HotButtons::MouseUp(PictureButton* button) {
    const bool dropped = droppedDuringClick_ && clicking_ == button;
    clicking_ = nullptr;
    droppedDuringClick_ = false;
    if (dropped || !CanHoldMouse(button)) {
        blnButtonHot = false;
        return;
    }
    blnButtonHot = true;
    Capture(button);
}

void HotButtons::Drop(PictureButton* button) {
    if (button == clicking_) droppedDuringClick_ = true;
    if (!button->Lit() && holder_ != button) return;
    button->ShowFace(false);
    if (holder_ == button) ReleaseCapture();
    blnButtonHot = false;
}

void HotButtons::DropAll() {
    if (clicking_) droppedDuringClick_ = true;
    for (PictureButton* button : parent()->findChildren<PictureButton*>())
        if (button->Lit()) button->ShowFace(false);
    ReleaseCapture();
    blnButtonHot = false;
}

bool HotButtons::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowBlocked:
        case QEvent::ContextMenu:  // the settings menu is about to open
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
            DropAll();
            break;
        default:
            break;
    }
    return false;
}

void HotButtons::Capture(PictureButton* button) {
    if (holder_ && holder_ != button) holder_->releaseMouse();
    holder_ = button;
    button->grabMouse();
}

void HotButtons::ReleaseCapture() {
    if (holder_) holder_->releaseMouse();
    holder_ = nullptr;
}

}  // namespace softphone
