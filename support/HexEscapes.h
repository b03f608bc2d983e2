#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace softphone {

// The bytes with each `escape` followed by two hex digits replaced by the byte they give: "%20" in
// a link, "=C3=BC" in quoted-printable text. An `escape` without two hex digits after it stays
// as it is (Qt's own decoders turn it into some other byte).
QByteArray fromHexEscapes(QByteArrayView text, char escape);

}  // namespace softphone
