#include "dialer/NumberKeyFilter.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "dialer/KeyTable.h"

namespace softphone {

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;
// Numbers shorter than this are not called by Enter.
constexpr int kShortestNumberForEnter = 10;

// Tab moves the focus and Delete edits: Qt gives them a text, but they type no character.
bool typesNothing(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete: return true;
        default: return key.text().isEmpty();
    }
}

bool accepted(QChar c) { return c == kBackspace || c == kEnter || keyForCharacter(c) != nullptr; }

}  // namespace

NumberKeyFilter::NumberKeyFilter(QComboBox* field, INumberEntry& owner)
    : QObject(field), text_(field->lineEdit()), owner_(owner) {
    field->installEventFilter(this);
}

bool NumberKeyFilter::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (typesNothing(key)) return false;
    const QString typed = key.text();
    if (!std::all_of(typed.begin(), typed.end(), accepted)) {
        owner_.showNumbersOnlyError();
        return true;
    }
    const QChar c = typed.front();
    if (c == kEnter) {
        if (text_->text().size() < kShortestNumberForEnter) return false;
        owner_.placeCall();
        return true;
    }
    if (const DialKey* dialKey = keyForCharacter(c)) owner_.playKeyTone(dialKey->toneName);
    return false;
}

}  // namespace softphone
