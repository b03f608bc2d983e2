#pragma once

#include <QPixmap>
#include <QWidget>

namespace softphone {

class HotButtons;

// A picture control that acts as a button: it shows its current picture (or, without one, a
// plain face with its caption) and reports a click when pressed and released over it. In a
// group of hot buttons it lights up while the pointer is over it.
class PictureButton : public QWidget {
    Q_OBJECT
  public:
    PictureButton(const QString& name, const QString& caption, QRect place, QWidget* parent);

    void SetPicture(const QPixmap& picture);
    const QString& Caption() const { return caption_; }

    // The normal and highlighted images; the button shows the normal one.
    void SetFaces(const QPixmap& off, const QPixmap& on);
    void ShowFace(bool lit);
    bool Lit() const { return lit_; }
    void JoinHotGroup(HotButtons* group) { group_ = group; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QString caption_;
    QPixmap picture_, off_, on_;
    bool pressed_ = false;
    bool lit_ = false;
    HotButtons* group_ = nullptr;
};

}  // namespace softphone
