#pragma once

#include <QString>

class QWidget;

namespace softphone {

// Gives `control` the tooltip `text`, which Qt shows centred under the control (the skin's tips
// sit there rather than beside the pointer) and not while the control is disabled.
void setCentredToolTip(QWidget* control, const QString& text);

}  // namespace softphone
