#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace softphone {

// A button drawn as a picture of the skin. It shows its lit face while the pointer is over it
// (or while it is held down) and its normal face otherwise; disabled, it shows the normal face
// dimmed and never lights. Keyboard users reach it with Tab and press it with Space or Enter.
// The caption names it to assistive technology unless it is given an accessible name.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(const QString& name, const QString& caption, QRect place, QWidget* parent);

    void setFaces(const QPixmap& off, const QPixmap& on);
    void setPicture(const QPixmap& picture);  // one face, lit or not

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool lit() const;

    QPixmap off_, on_;
};

}  // namespace softphone
