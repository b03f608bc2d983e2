#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "tests/support/Wait.h"

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

// Malformed datagrams to the phone at 127.0.0.1:`phonePort` in the manner of RFC 4475's torture
// tests, their Vias naming 127.0.0.1:`viaPort`. SipDatagramTest holds the rules that cut a
// datagram to its message; these pass them, or broke the engine before.
inline QList<QByteArray> malformedRequests(int phonePort, int viaPort) {
    const QByteArray options =
        "OPTIONS sip:1001@127.0.0.1:" + QByteArray::number(phonePort) +
        " SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:" + QByteArray::number(viaPort) +
        ";branch=z9hG4bKforged;rport\r\n"
        "Max-Forwards: 70\r\nFrom: <sip:probe@127.0.0.1>;tag=forged\r\n"
        "To: <sip:1001@127.0.0.1>\r\nCall-ID: forged\r\nCSeq: 1 OPTIONS\r\n";
    return {
        options + "Content-Length: 99999\r\n\r\nhello",
        options + "Subject: " + QByteArray(30000, 'a') + "\r\nContent-Length: 0\r\n\r\n",
        options + "Content-Length: 0\r\n\r\n" + options + "Content-Length: 900\r\n\r\nv=0",
        "INVITE sip:1001@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:9;branch=z9hG4bKx\r\n"
        "From: \"caller <sip:caller@127.0.0.1>;tag=1\r\nTo: <sip:1001@127.0.0.1>\r\n"
        "Call-ID: dn\r\nCSeq: 1 INVITE\r\nContent-Length: 0\r\n\r\n",
        QByteArray(1200, 'x'),
    };
}

// Whether `scanner` is answered 200 to the request whose Call-ID begins with `callId`.
inline ::testing::AssertionResult answeredOk(QUdpSocket& scanner, const QByteArray& callId) {
    QByteArray answer;
    if (waitUntil([&] {
            while (scanner.hasPendingDatagrams()) {
                const QByteArray datagram = scanner.receiveDatagram().data();
                if (datagram.contains("Call-ID: " + callId)) answer = datagram;
            }
            return answer.startsWith("SIP/2.0 200");
        }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << answer.toStdString();
}

}  // namespace softphone::test
