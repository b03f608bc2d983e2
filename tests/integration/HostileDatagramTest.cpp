// Malformed and malicious UDP datagrams (in the manner of RFC 4475's torture tests) sent to the
// real engine: it goes on answering their sender, and calls through the proxy still ring.
#include <gtest/gtest.h>

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QUuid>

#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// A request line and header for an OPTIONS to the phone from `from`, without the blank line.
QByteArray OptionsHeader(int phonePort, int fromPort, const QByteArray& id) {
    return QStringLiteral(
               "OPTIONS sip:1001@127.0.0.1:%1 SIP/2.0\r\n"
               "Via: SIP/2.0/UDP 127.0.0.1:%2;branch=z9hG4bK%3;rport\r\n"
               "Max-Forwards: 70\r\n"
               "From: <sip:probe@127.0.0.1>;tag=%3\r\n"
               "To: <sip:1001@127.0.0.1>\r\n"
               "Call-ID: %3\r\n"
               "CSeq: 1 OPTIONS\r\n")
        .arg(phonePort)
        .arg(fromPort)
        .arg(QString::fromLatin1(id))
        .toLatin1();
}

// A UDP socket on loopback, on a free port or on `port` shared with the server that holds it
// (kamailio binds its socket with SO_REUSEADDR, so a second socket may bind the same address and
// send from it).
struct Sender : QUdpSocket {
    explicit Sender(int port = 0) { bind(QHostAddress::LocalHost, quint16(port), ShareAddress); }
    void Send(int phonePort, const QByteArray& datagram) {
        writeDatagram(datagram, QHostAddress::LocalHost, quint16(phonePort));
    }
    // Sends a well-formed OPTIONS and waits for the phone's 200.
    bool Answered(int phonePort) {
        const QByteArray id = QUuid::createUuid().toByteArray(QUuid::Id128);
        Send(phonePort, OptionsHeader(phonePort, localPort(), id) + "Content-Length: 0\r\n\r\n");
        bool answered = false;
        return WaitUntil([&] {
            while (!answered && hasPendingDatagrams()) {
                const QByteArray reply = receiveDatagram().data();
                answered = reply.startsWith("SIP/2.0 200") && reply.contains(id);
            }
            return answered;
        });
    }
};

class HostileDatagramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        phone.Start({server.Address(), "1001", "secret"});
        ASSERT_TRUE(WaitUntil([&] { return phone.Registered(); }));
        phonePort = server.ContactPort("1001");
        ASSERT_GT(phonePort, 0);
    }

    SipServer server{{{"1001", "secret"}}};
    Phone phone;
    int phonePort = 0;
};

TEST_F(HostileDatagramTest, SenderIsStillAnsweredAfterEachDatagram) {
    const QByteArray id = "hostile";
    const QByteArray options = OptionsHeader(phonePort, 0, id);
    const struct {
        const char* name;
        QByteArray datagram;
    } cases[] = {
        {"Content-Length larger than the body", options + "Content-Length: 99999\r\n\r\nhello"},
        {"compact Content-Length larger than the body", options + "l: 6\r\n\r\nhello"},
        {"Content-Length twice", options + "Content-Length: 0\r\nContent-Length: 5\r\n\r\nhello"},
        {"negative Content-Length", options + "Content-Length: -5\r\n\r\nhello"},
        {"Content-Length beyond any number",
         options + "Content-Length: 99999999999999999999\r\n\r\n"},
        {"header that never ends", options + "Content-Length: 0\r\n"},
        {"NUL inside the header",
         options + QByteArray("Subject: a\0b\r\nContent-Length: 0\r\n\r\n", 35)},
        {"unterminated display name",
         "INVITE sip:1001@127.0.0.1 SIP/2.0\r\nVia: SIP/2.0/UDP 127.0.0.1:9;branch=z9hG4bKx\r\n"
         "From: \"caller <sip:caller@127.0.0.1>;tag=1\r\nTo: <sip:1001@127.0.0.1>\r\n"
         "Call-ID: dn\r\nCSeq: 1 INVITE\r\nContent-Length: 0\r\n\r\n"},
        {"huge header",
         options + "Subject: " + QByteArray(30000, 'a') + "\r\nContent-Length: 0\r\n\r\n"},
        {"second message cut short",
         options + "Content-Length: 0\r\n\r\n" + options + "Content-Length: 900\r\n\r\nv=0"},
        {"response with a short body", "SIP/2.0 200 OK\r\nContent-Length: 50\r\n\r\nv=0\r\n"},
        {"random bytes", QUuid::createUuid().toRfc4122().repeated(40)},
        {"no line ends", QByteArray(1200, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sender sender;
        sender.Send(phonePort, c.datagram);
        EXPECT_TRUE(sender.Answered(phonePort));
    }
}

// UDP source addresses are easily forged: a datagram that claims to come from the proxy must
// not stop calls through the proxy from reaching the phone.
TEST_F(HostileDatagramTest, CallsThroughTheProxyRingAfterADatagramFromItsAddress) {
    {
        Sender proxy(server.Port());
        ASSERT_EQ(proxy.localPort(), server.Port());
        proxy.Send(phonePort, OptionsHeader(phonePort, server.Port(), "forged") +
                                  "Content-Length: 99999\r\n\r\nhello");
    }
    Sipp caller;
    ASSERT_TRUE(caller.Call(server.Address(), "1001", 500));
    ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }, 10000))
        << phone.Status().toStdString();
    phone.window.OnEndClicked();
    EXPECT_TRUE(caller.Finished());
}

}  // namespace
}  // namespace softphone::test
