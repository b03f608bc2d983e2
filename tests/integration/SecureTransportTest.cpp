// The real engine over TCP and TLS to a kamailio whose certificate a private CA signed.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QUdpSocket>

#include "tests/support/Child.h"
#include "tests/support/HostileSip.h"
#include "tests/support/Phone.h"
#include "tests/support/Sipp.h"

namespace softphone::test {
namespace {

// A kamailio with TLS, its certificate made for `certificateName` by the CA in `certs` (an
// address is named by an IP subjectAltName alone, which the engine's TLS does not match itself).
struct SecureServer {
    bool start(const QString& certificateName = QStringLiteral("127.0.0.1")) {
        server.useTls(certs.path());
        return makeCertificates(certs.path(), certificateName) && answering && server.start();
    }
    QString caFile() const { return certs.filePath("ca.pem"); }

    QTemporaryDir certs;
    Sipp farEnds[2];  // answer on plain UDP behind the server, reached as 6000 and 6001
    bool answering = farEnds[0].answerAndEcho() && farEnds[1].answerAndEcho();
    SipServer server{{{"1001", "secret"}, {"1002", "secret"}},
                     {{"6000", farEnds[0].uri()}, {"6001", farEnds[1].uri()}}};
};

// A phone registers over TCP; "Network..." moves it at once to TLS with the CA file and
// encrypted audio required (strict), and the old binding goes. It and a phone that only offers
// encrypted audio (lenient) call each other with encrypted audio. The plain far end behind the
// server (which reaches a phone over the phone's own TLS connection) calls and is called by the
// lenient phone, and is refused by the strict one. Back on UDP, a new port is guarded; shutting
// down unregisters.
TEST(SecureTransportTest, TcpThenTlsCallsWithAndWithoutEncryptedAudio) {
    SecureServer secure;
    ASSERT_TRUE(secure.start()) << secure.server.report().toStdString();
    Phone strict, lenient;
    writeNetworkSettings(strict.store, {SipTransport::Tcp, secure.caFile()});
    strict.start({secure.server.address(), "1001", "secret"});
    ASSERT_TRUE(waitUntil([&] { return secure.server.contacts("1001", "tcp") == 1; }));
    // A program the phone starts (the browser the banner opens) holds none of its sockets, whose
    // TCP connection to the proxy would otherwise outlive it.
    EXPECT_EQ(output("sh", {"-c", "ls -l /proc/self/fd | grep -c socket:"}), "0");
    SavedLogin login = SavedLogin::read(strict.store);
    login.sip = secure.server.tlsAddress();
    login.write(strict.store);
    strict.windows.network = {SipTransport::Tls, secure.caFile(), SrtpPolicy::Required};
    strict.trigger("networkAction");
    ASSERT_TRUE(waitUntil([&] {
        return secure.server.contacts("1001", "tls") == 1 && secure.server.contacts("1001") == 1;
    }));
    EXPECT_TRUE(strict.shows("Registered"));
    EXPECT_TRUE(strict.messages.shown.empty());
    writeNetworkSettings(lenient.store, {SipTransport::Tls, secure.caFile(), SrtpPolicy::Optional});
    lenient.start({secure.server.tlsAddress(), "1002", "secret"});
    ASSERT_TRUE(lenient.shows("Registered"));

    for (auto [caller, callee] : {std::pair{&strict, &lenient}, {&lenient, &strict}}) {
        caller->dial(caller == &lenient ? "1001" : "1002");
        if (callee->shows("INCOMING")) callee->click("dialButton");
        ASSERT_TRUE(waitUntil([&] { return caller->connected() && callee->connected(); }))
            << caller->status().toStdString() << " / " << callee->status().toStdString();
        EXPECT_TRUE(caller->phone.session()->mediaEncrypted());
        EXPECT_TRUE(callee->phone.session()->mediaEncrypted());
        caller->click("endButton");
        EXPECT_TRUE(callee->shows("DISCONNECTED"));
    }

    lenient.dial("6000");
    ASSERT_TRUE(lenient.shows("CONNECTED"));
    EXPECT_FALSE(lenient.phone.session()->mediaEncrypted());
    lenient.click("endButton");
    strict.dial("6001");
    EXPECT_TRUE(strict.shows("Refused: the far end offers no encrypted audio"));
    EXPECT_TRUE(
        waitUntil([&] { return !lenient.phone.callActive() && !strict.phone.callActive(); }));
    Sipp toLenient, toStrict;
    ASSERT_TRUE(toLenient.call(secure.server.address(), "1002", 300));
    if (lenient.shows("INCOMING")) lenient.click("dialButton");
    EXPECT_TRUE(toLenient.finished()) << toLenient;
    ASSERT_TRUE(toStrict.call(secure.server.address(), "1001", 300));
    EXPECT_TRUE(!toStrict.finished() && toStrict.trace().contains("SIP/2.0 488")) << toStrict;
    EXPECT_FALSE(strict.phone.callActive());

    // Back on UDP, the new random port is guarded as the first one was: a datagram that claims
    // more body than it holds does not swallow the request after it.
    login.sip = secure.server.address();
    login.write(strict.store);
    strict.windows.network = {SipTransport::Udp, {}, SrtpPolicy::Off};
    strict.trigger("networkAction");
    ASSERT_TRUE(waitUntil([&] {
        return secure.server.contacts("1001") == 1 && secure.server.contacts("1001", "tls") == 0;
    }));
    const int port = secure.server.contactPort("1001");
    QUdpSocket scanner;
    ASSERT_TRUE(scanner.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress));
    const int via = scanner.localPort();
    for (const QByteArray& datagram :
         {sipRequests("malformed", port, via)["body-past-the-datagram"],
          sipRequests("long-uri", port, via, "after", 4)["from"]})
        scanner.writeDatagram(datagram, QHostAddress::LocalHost, quint16(port));
    EXPECT_TRUE(answeredOk(scanner, "after"));

    strict.phone.shutdown();
    EXPECT_TRUE(waitUntil([&] { return secure.server.contacts("1001") == 0; }));
}

// Requests with a URI of 3,000 characters that the server passes on over the phone's TCP or TLS
// connection: the phone closes the connection before its parser spends seconds on them (what the
// server sent over it after them is lost), and registers again over a fresh one, over which an
// OPTIONS and a caller reach it; over UDP each such datagram is dropped. The phone's clock never
// ticks once a request is done: its sockets alone wake it. Over UDP, a CA file left in the
// settings that cannot be read plays no part.
TEST(SecureTransportTest, LongUrisCloseAConnectionAndAnIdlePhoneRingsOverTheNextOne) {
    SecureServer secure;
    ASSERT_TRUE(secure.start()) << secure.server.report().toStdString();
    for (SipTransport transport : {SipTransport::Tcp, SipTransport::Tls, SipTransport::Udp}) {
        const bool tls = transport == SipTransport::Tls, udp = transport == SipTransport::Udp;
        // Call-IDs of each row its own: the server still holds the last row's transactions.
        const QByteArray row = tls ? "-tls" : udp ? "-udp" : "-tcp";
        SCOPED_TRACE(row.data());
        Phone phone(
            {.idleTick = std::chrono::hours(1), .busySpell = std::chrono::milliseconds(200)});
        writeNetworkSettings(phone.store, {transport, udp ? "/nonexistent.pem" : secure.caFile()});
        phone.start({tls ? secure.server.tlsAddress() : secure.server.address(), "1001", "secret"});
        ASSERT_TRUE(phone.shows("Registered"));
        const int connection = secure.server.contactPort("1001");
        QUdpSocket scanner;
        ASSERT_TRUE(scanner.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress));
        const int port = secure.server.port();
        const auto send = [&](const QByteArray& request) {
            scanner.writeDatagram(request, QHostAddress::LocalHost, quint16(port));
        };
        const int via = scanner.localPort();
        for (const auto& [place, request] :
             sipRequests("long-uri", port, via, "long" + row, 3000).asKeyValueRange())
            if (place != "request-uri") send(request);
        // Registered again over a new connection: neither none nor the old one.
        EXPECT_TRUE(udp || waitUntil([&] {
                        return !QList{0, connection}.contains(secure.server.contactPort("1001"));
                    }));
        send(sipRequests("long-uri", port, via, "after-long" + row, 4)["from"]);
        EXPECT_TRUE(answeredOk(scanner, "after-long" + row));
        pump(1000);  // the fast ticks after the registration run out
        Sipp caller;
        ASSERT_TRUE(caller.call(secure.server.address(), "1001", 300));
        EXPECT_TRUE(phone.shows("INCOMING", 10000));
        EXPECT_TRUE(waitUntil([&] { return caller.trace().contains("SIP/2.0 180"); }));
    }
}

TEST(SecureTransportTest, CertificateThatDoesNotVerifyIsRefusedWithItsReason) {
    const struct {
        QString certificateName;
        bool caFile;  // the server's CA file, or the system's CAs only
        const char* reason;
    } cases[] = {
        {"127.0.0.1", false, "the certificate is not signed by a trusted CA"},
        {"example.test", true, "the certificate is not for 127.0.0.1"},  // another name
        {"127.0.0.2", true, "the certificate is not for 127.0.0.1"},     // another address
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.certificateName.toStdString());
        SecureServer secure;
        ASSERT_TRUE(secure.start(c.certificateName)) << secure.server.report().toStdString();
        Phone phone;
        writeNetworkSettings(phone.store, {SipTransport::Tls, c.caFile ? secure.caFile() : ""});
        phone.start({secure.server.tlsAddress(), "1001", "secret"});
        ASSERT_TRUE(phone.shows("Certificate refused"));
        EXPECT_TRUE(phone.messages.shown.size() == 1 && phone.messages.shown[0].contains(c.reason))
            << phone.messages.shown.join('|').toStdString();
        EXPECT_EQ(secure.server.contacts("1001"), 0);
    }
}

}  // namespace
}  // namespace softphone::test
