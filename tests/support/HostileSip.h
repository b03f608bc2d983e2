#pragma once

#include <QByteArray>
#include <QList>

namespace softphone::test {

// Where a hostile request carries its one long URI.
enum class LongUriIn { RequestUri, From, To, Contact, ReferTo, Route };

inline const QList<std::pair<const char*, LongUriIn>> kLongUriPlaces = {
    {"Request-URI", LongUriIn::RequestUri},
    {"From", LongUriIn::From},
    {"To", LongUriIn::To},
    {"Contact", LongUriIn::Contact},
    {"Refer-To", LongUriIn::ReferTo},
    {"Route", LongUriIn::Route},
};

// A request to the phone at 127.0.0.1:`phonePort` whose URI in `place` has a user part of
// `length` digits, as a scanner sends them; its Via names 127.0.0.1:`viaPort`. An INVITE for a
// long Request-URI, a REFER for a long Refer-To, an OPTIONS otherwise.
inline QByteArray longUriRequest(LongUriIn place, int length, int phonePort, int viaPort,
                                 const QByteArray& callId) {
    const QByteArray longUri = "sip:" + QByteArray(length, '5') + "@127.0.0.1";
    const QByteArray phone = "sip:1001@127.0.0.1:" + QByteArray::number(phonePort);
    const QByteArray method = place == LongUriIn::RequestUri ? "INVITE"
                              : place == LongUriIn::ReferTo  ? "REFER"
                                                             : "OPTIONS";
    const auto uriIn = [&](LongUriIn here, const QByteArray& usual) {
        return place == here ? longUri : usual;
    };
    QByteArray request = method + ' ' + uriIn(LongUriIn::RequestUri, phone) + " SIP/2.0\r\n" +
                         "Via: SIP/2.0/UDP 127.0.0.1:" + QByteArray::number(viaPort) +
                         ";branch=z9hG4bK" + callId + ";rport\r\nMax-Forwards: 70\r\n" + "From: <" +
                         uriIn(LongUriIn::From, "sip:probe@127.0.0.1") + ">;tag=" + callId +
                         "\r\nTo: <" + uriIn(LongUriIn::To, phone) + ">\r\nCall-ID: " + callId +
                         "\r\nCSeq: 1 " + method + "\r\n";
    if (place == LongUriIn::Contact) request += "Contact: <" + longUri + ">\r\n";
    if (place == LongUriIn::ReferTo) request += "Refer-To: <" + longUri + ">\r\n";
    if (place == LongUriIn::Route) request += "Route: <" + longUri + ";lr>\r\n";
    return request + "Content-Length: 0\r\n\r\n";
}

}  // namespace softphone::test
