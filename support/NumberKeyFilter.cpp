#include "support/NumberKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

#include "support/MessageBox.h"

namespace softphone {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

// Tab moves the focus and Delete edits: Qt gives them a text, but they type no character.
bool typesNothing(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete: return true;
        default: return key.text().isEmpty();
    }
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

void showNumbersOnlyBox(IMessageBox& messages, QWidget* owner) {
    messages.show(owner, QObject::tr("Numbers 0 to 9 only, please!"), QObject::tr("Input Error"),
                  MessageIcon::Exclamation);
}

NumberKeyFilter::NumberKeyFilter(QWidget* field, Accepts accepts)
    : QObject(field), accepts_(accepts) {
    field->installEventFilter(this);
}

bool NumberKeyFilter::accepted(QChar c) const {
    if (isDigit(c) || c == kBackspace) return true;
    return accepts_ == Accepts::DialKeys &&
           (c == QLatin1Char('*') || c == QLatin1Char('#') || c == kEnter);
}

bool NumberKeyFilter::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (typesNothing(key)) return false;
    const QString text = key.text();
    if (!std::all_of(text.begin(), text.end(), [this](QChar c) { return accepted(c); })) {
        emit refused();
        return true;
    }
    const QChar c = text.front();
    if (c == kEnter)
        emit entered();
    else if (c != kBackspace)
        emit typed(c);
    return false;
}

}  // namespace softphone
