#include "support/MessageBox.h"

#include <QMessageBox>

namespace softphone {

void QtMessageBox::show(QWidget* parent, const QString& text, const QString& title,
                        MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace softphone
