#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

class QWidget;

namespace softphone {

class PictureButton;

// The buttons of one window that light up under the pointer. One button at a time is hot: it
// shows its highlighted image and holds the mouse, so that it alone hears the pointer leave it.
// A disabled or hidden button, or one whose window a modal window blocks, never holds the mouse.
class HotButtons : public QObject {
    Q_OBJECT
  public:
    explicit HotButtons(QWidget* window);

    void Add(PictureButton* button);

    // Pointer at `pos` (relative to `button`, logical pixels) over or, while it holds the
    // mouse, around the button. The edges count as inside.
    void MouseMove(PictureButton* button, QPointF pos);
    // Any mouse button released on `button`: it takes the mouse again, so it still hears the
    // pointer leave after a click. Its image is not touched.
    void MouseUp(PictureButton* button);
    // The click of `button` is about to run.
    void ClickStarts(PictureButton* button);
    // `button` went disabled or hidden: darken it and free the mouse.
    void Drop(PictureButton* button);
    // Darken whatever is hot and free the mouse (a modal window opens, the window hides).
    void DropAll();

    bool blnButtonHot = false;
    PictureButton* Holder() const { return holder_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Capture(PictureButton* button);
    void ReleaseCapture();

    QPointer<PictureButton> holder_;
    QPointer<PictureButton> clicking_;
    bool droppedDuringClick_ = false;
};

}  // namespace softphone
