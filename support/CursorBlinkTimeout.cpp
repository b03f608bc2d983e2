#include "support/CursorBlinkTimeout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace softphone {

CursorBlinkTimeout::CursorBlinkTimeout(int timeoutMs)
    : flashTime_(QGuiApplication::styleHints()->cursorFlashTime()) {
    idle_.setSingleShot(true);
    idle_.setInterval(timeoutMs);
    connect(&idle_, &QTimer::timeout, this,
            [] { QGuiApplication::styleHints()->setCursorFlashTime(0); });
    QCoreApplication::instance()->installEventFilter(this);
    idle_.start();
}

CursorBlinkTimeout::~CursorBlinkTimeout() {
    QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
}

bool CursorBlinkTimeout::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::FocusIn:
            if (!idle_.isActive()) QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
            idle_.start();
            break;
        default: break;
    }
    return false;
}

}  // namespace softphone
