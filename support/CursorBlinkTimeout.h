#pragma once

#include <QObject>
#include <QTimer>

namespace softphone {

// Text cursors stop blinking after `timeoutMs` without keyboard or mouse input and blink again
// with the next (as GTK's cursor-blink-timeout does): a blinking cursor repaints twice a second
// for as long as the program sits idle on the desktop.
class CursorBlinkTimeout : public QObject {
public:
    explicit CursorBlinkTimeout(int timeoutMs = 10000);
    ~CursorBlinkTimeout() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer idle_;
    int flashTime_;  // the desktop's
};

}  // namespace softphone
