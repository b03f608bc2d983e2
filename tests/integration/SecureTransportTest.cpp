// The real engine over TCP and TLS to a kamailio whose certificate a private CA signed.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QUdpSocket>

#include "tests/support/HostileSip.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// A kamailio with TLS, its certificate made for `certificateName` by the CA in `certs` (an
// address is named by an IP subjectAltName alone, which the engine's TLS does not match itself).
struct SecureServer {
    explicit SecureServer(const QString& certificateName = QStringLiteral("127.0.0.1")) {
        made = makeCertificates(certs.path(), certificateName);
        server.useTls(certs.path());
    }
    QString caFile() const { return certs.filePath("ca.pem"); }

    QTemporaryDir certs;
    bool made = false;
    Sipp farEnds[2];  // answer on plain UDP behind the server, reached as 6000 and 6001
    bool answering = farEnds[0].answerAndEcho() && farEnds[1].answerAndEcho();
    SipServer server{{{"1001", "secret"}, {"1002", "secret"}},
                     {{"6000", farEnds[0].uri()}, {"6001", farEnds[1].uri()}}};
};

void startOver(Phone& phone, const QString& sip, const NetworkSettings& network,
               const QString& account = QStringLiteral("1001")) {
    writeNetworkSettings(phone.store, network);
    phone.start({sip, account, "secret"});
}

// A phone registers over TCP; "Network..." moves it at once to TLS with the CA file and
// encrypted audio required (strict), and the old binding goes. It and a phone that only offers
// encrypted audio (lenient) call each other with encrypted audio. The plain far end behind the
// server (which reaches a phone over the phone's own TLS connection) calls and is called by the
// lenient phone, and is refused by the strict one. Back on UDP, a new port is guarded; shutting
// down unregisters.
TEST(SecureTransportTest, TcpThenTlsCallsWithAndWithoutEncryptedAudio) {
    SecureServer secure;
    ASSERT_TRUE(secure.made && secure.answering && secure.server.start())
        << secure.server.report().toStdString();
    Phone strict, lenient;
    startOver(strict, secure.server.address(), {SipTransport::Tcp, secure.caFile(), {}});
    ASSERT_TRUE(waitUntil([&] { return secure.server.contacts("1001", "tcp") == 1; }));
    EXPECT_TRUE(strict.shows("Registered"));
    SavedLogin login = SavedLogin::read(strict.store);
    login.sip = secure.server.tlsAddress();
    login.write(strict.store);
    strict.windows.network =
        NetworkSettings{SipTransport::Tls, secure.caFile(), SrtpPolicy::Required};
    strict.trigger("networkAction");
    ASSERT_TRUE(waitUntil([&] { return secure.server.contacts("1001", "tls") == 1; }));
    EXPECT_TRUE(waitUntil([&] { return secure.server.contacts("1001") == 1; }, 2000))
        << secure.server.contacts("1001") << " contacts";
    EXPECT_TRUE(strict.shows("Registered"));
    EXPECT_TRUE(strict.messages.shown.empty());
    startOver(lenient, secure.server.tlsAddress(),
              {SipTransport::Tls, secure.caFile(), SrtpPolicy::Optional}, "1002");
    ASSERT_TRUE(lenient.shows("Registered"));

    for (auto [caller, callee] : {std::pair{&strict, &lenient}, {&lenient, &strict}}) {
        caller->dial(caller == &lenient ? "1001" : "1002");
        ASSERT_TRUE(callee->shows("INCOMING"));
        callee->click("dialButton");
        ASSERT_TRUE(waitUntil([&] { return caller->connected() && callee->connected(); }))
            << caller->status().toStdString() << " / " << callee->status().toStdString();
        EXPECT_TRUE(caller->phone.session()->mediaEncrypted());
        EXPECT_TRUE(callee->phone.session()->mediaEncrypted());
        caller->click("endButton");
        EXPECT_TRUE(callee->shows("DISCONNECTED"));
    }

    for (Phone* phone : {&lenient, &strict}) {
        const bool connects = phone == &lenient;
        SCOPED_TRACE(connects ? "lenient" : "strict");
        phone->dial(connects ? "6000" : "6001");
        if (connects) {
            ASSERT_TRUE(phone->shows("CONNECTED"));
            EXPECT_FALSE(phone->phone.session()->mediaEncrypted());
            phone->click("endButton");
        } else {
            EXPECT_TRUE(phone->shows("Refused: the far end offers no encrypted audio"));
        }
        EXPECT_TRUE(waitUntil([&] { return !phone->phone.callActive(); }));

        Sipp caller;
        ASSERT_TRUE(caller.call(secure.server.address(), connects ? "1002" : "1001", 300));
        if (connects) {
            ASSERT_TRUE(phone->shows("INCOMING"));
            phone->click("dialButton");
            EXPECT_TRUE(caller.finished()) << caller;
        } else {
            EXPECT_FALSE(caller.finished());
            EXPECT_TRUE(caller.trace().contains("SIP/2.0 488")) << caller;
            EXPECT_FALSE(phone->phone.callActive());
        }
    }

    // Back on UDP, the new random port is guarded as the first one was: a datagram that claims
    // more body than it holds does not swallow the request after it.
    login.sip = secure.server.address();
    login.write(strict.store);
    strict.windows.network = NetworkSettings{SipTransport::Udp, {}, SrtpPolicy::Off};
    strict.trigger("networkAction");
    ASSERT_TRUE(waitUntil([&] {
        return secure.server.contacts("1001") == 1 && secure.server.contacts("1001", "tls") == 0;
    }));
    const int phonePort = secure.server.contactPort("1001");
    QUdpSocket scanner;
    ASSERT_TRUE(scanner.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress));
    const auto options = [&](const QByteArray& callId) {
        return longUriRequest(LongUriIn::From, 4, phonePort, scanner.localPort(), callId);
    };
    scanner.writeDatagram(
        options("short").replace("Content-Length: 0\r\n\r\n", "Content-Length: 99999\r\n\r\nhello"),
        QHostAddress::LocalHost, quint16(phonePort));
    scanner.writeDatagram(options("after"), QHostAddress::LocalHost, quint16(phonePort));
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
    ASSERT_TRUE(secure.made && secure.answering && secure.server.start())
        << secure.server.report().toStdString();
    for (SipTransport transport : {SipTransport::Tcp, SipTransport::Tls, SipTransport::Udp}) {
        const bool tls = transport == SipTransport::Tls, udp = transport == SipTransport::Udp;
        SCOPED_TRACE(tls ? "TLS" : udp ? "UDP" : "TCP");
        Phone phone(
            {.idleTick = std::chrono::hours(1), .busySpell = std::chrono::milliseconds(200)});
        startOver(phone, tls ? secure.server.tlsAddress() : secure.server.address(),
                  {transport, udp ? QStringLiteral("/nonexistent.pem") : secure.caFile(),
                   SrtpPolicy::Off});
        ASSERT_TRUE(phone.shows("Registered"));
        const int connection = secure.server.contactPort("1001");
        QUdpSocket scanner;
        ASSERT_TRUE(scanner.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress));
        const int port = secure.server.port();
        // Call-IDs of each row its own: the server still holds the last row's transactions.
        const auto request = [&](LongUriIn place, int length, const QByteArray& name) {
            const QByteArray callId = name + (tls ? "-tls" : udp ? "-udp" : "-tcp");
            scanner.writeDatagram(longUriRequest(place, length, port, scanner.localPort(), callId),
                                  QHostAddress::LocalHost, quint16(port));
        };
        for (const auto& [where, place] : kLongUriPlaces)
            if (place != LongUriIn::RequestUri) request(place, 3000, QByteArray("long-") + where);
        EXPECT_TRUE(udp || waitUntil([&] {
                        const int now = secure.server.contactPort("1001");
                        return now > 0 && now != connection;
                    }));
        request(LongUriIn::From, 4, "after-long");
        EXPECT_TRUE(answeredOk(scanner, "after-long-"));
        pump(1000);  // the fast ticks after the registration run out
        Sipp caller;
        ASSERT_TRUE(caller.call(secure.server.address(), "1001", 300));
        EXPECT_TRUE(phone.shows("INCOMING", 10000));
        EXPECT_TRUE(waitUntil([&] { return caller.trace().contains("SIP/2.0 180"); }));
    }
}

TEST(SecureTransportTest, CertificateThatDoesNotVerifyIsRefusedWithItsReason) {
    const struct {
        const char* what;
        QString certificateName;
        bool caFile;  // the server's CA file, or the system's CAs only
        const char* reason;
    } cases[] = {
        {"system CAs only", "127.0.0.1", false, "the certificate is not signed by a trusted CA"},
        {"another name", "example.test", true, "the certificate is not for 127.0.0.1"},
        {"another address", "127.0.0.2", true, "the certificate is not for 127.0.0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SecureServer secure(c.certificateName);
        ASSERT_TRUE(secure.made && secure.server.start());
        Phone phone;
        startOver(phone, secure.server.tlsAddress(),
                  {SipTransport::Tls, c.caFile ? secure.caFile() : QString(), SrtpPolicy::Off});
        ASSERT_TRUE(phone.shows("Certificate refused"));
        ASSERT_EQ(phone.messages.shown.size(), 1u);
        EXPECT_TRUE(phone.messages.shown[0].contains(c.reason))
            << phone.messages.shown[0].toStdString();
        EXPECT_EQ(secure.server.contacts("1001"), 0);
    }
}

}  // namespace
}  // namespace softphone::test
