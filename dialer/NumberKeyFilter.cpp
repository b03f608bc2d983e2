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
bool TypesNothing(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete: return true;
        default: return key.text().isEmpty();
    }
}

bool Accepted(QChar c) { return c == kBackspace || c == kEnter || KeyForCharacter(c) != nullptr; }

}  // namespace

NumberKeyFilter::NumberKeyFilter(QComboBox* field, INumberEntry& owner)
    : QObject(field), text_(field->lineEdit()), owner_(owner) {
    field->installEventFilter(this);
}

bool NumberKeyFilter::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (TypesNothing(key)) return false;
    const QString typed = key.text();
    if (!std::all_of(typed.begin(), typed.end(), Accepted)) {
        owner_.ShowNumbersOnlyError();
        return true;
    }
    const QChar c = typed.front();
    if (c == kEnter) {
        if (text_->text().size() < kShortestNumberForEnter) return false;
        owner_.PlaceCall();
        return true;
    }
    if (const DialKey* dialKey = KeyForCharacter(c)) owner_.PlayKeyTone(dialKey->toneName);
    return false;
}

}  // namespace softphone
