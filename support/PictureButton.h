#pragma once

#include <QPixmap>
#include <QWidget>

namespace softphone {

// A picture control that acts as a button: it shows its current picture (or, without one, a
// plain face with its caption) and reports a click when pressed and released over it.
class PictureButton : public QWidget {
    Q_OBJECT
public:
    PictureButton(const QString& name, const QString& caption, QRect place, QWidget* parent);

    void SetPicture(const QPixmap& picture);
    const QString& Caption() const { return caption_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
    QPixmap picture_;
    bool pressed_ = false;
};

}  // namespace softphone
