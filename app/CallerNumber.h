#pragma once

#include <QString>

namespace softphone {

// The number a caller is known by: the user part of the far end's SIP address
// ("sip:5557002@host" gives "5557002"), or the whole address when it has no user part.
QString callerNumber(const QString& address);

}  // namespace softphone
