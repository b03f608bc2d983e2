#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QMap>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "tests/support/Child.h"
#include "tests/support/Wait.h"

namespace softphone::test {

// The requests of tests/data/sip/`folder` by file name (without ".sip"), as a scanner sends them
// to the phone at 127.0.0.1:`phonePort`: their Vias name 127.0.0.1:`viaPort`, their Call-IDs
// begin with `callId`, and a long URI's user part has `uriLength` digits. "malformed" holds
// datagrams in the manner of RFC 4475's torture tests that pass the rules of SipDatagramTest,
// or broke the engine before; "long-uri" holds one request per place a URI may take.
inline QMap<QString, QByteArray> sipRequests(const QString& folder, int phonePort, int viaPort,
                                             const QByteArray& callId = "forged",
                                             int uriLength = 0) {
    const QDir dir(QStringLiteral(SOFTPHONE_SOURCE_DIR "/tests/data/sip/") + folder);
    QMap<QString, QByteArray> requests;
    for (const QFileInfo& file : dir.entryInfoList({"*.sip"}, QDir::Files))
        requests[file.baseName()] =
            fileBytes(file.filePath())
                .replace("$LONG_URI", "sip:" + QByteArray(uriLength, '5') + "@127.0.0.1")
                .replace("$PHONE_PORT", QByteArray::number(phonePort))
                .replace("$VIA_PORT", QByteArray::number(viaPort))
                .replace("$CALL_ID", callId + '-' + file.baseName().toUtf8());
    if (requests.isEmpty()) ADD_FAILURE() << "no requests in " << dir.path().toStdString();
    return requests;
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
