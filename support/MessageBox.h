#pragma once

#include <QString>

class QWidget;

namespace softphone {

inline const QString kAppTitle = QStringLiteral("Softphone");

enum class MessageIcon { None, Exclamation };

// What the logic asks of the user by message box; tests substitute a recorder.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual void show(QWidget* parent, const QString& text, const QString& title = kAppTitle,
                      MessageIcon icon = MessageIcon::None) = 0;
};

class QtMessageBox : public IMessageBox {
public:
    void show(QWidget* parent, const QString& text, const QString& title,
              MessageIcon icon) override;
};

}  // namespace softphone
