// The real engine over TCP and TLS to a kamailio whose certificate a private CA signed.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

// A kamailio with TLS, its certificate made for `certificateName` by the CA in `certs`.
struct SecureServer {
    explicit SecureServer(const QString& certificateName = QStringLiteral("127.0.0.1")) {
        made = MakeCertificates(certs.path(), certificateName);
        server.UseTls(certs.path());
    }
    QString CaFile() const { return certs.filePath("ca.pem"); }

    QTemporaryDir certs;
    bool made = false;
    Sipp farEnds[2];  // answer on plain UDP behind the server, reached as 6000 and 6001
    bool answering = farEnds[0].AnswerAndEcho() && farEnds[1].AnswerAndEcho();
    SipServer server{{{"1001", "secret"}, {"1002", "secret"}},
                     {{"6000", farEnds[0].Uri()}, {"6001", farEnds[1].Uri()}}};
};

void StartOver(Phone& phone, const QString& sip, const NetworkSettings& network,
               const QString& account = QStringLiteral("1001")) {
    WriteNetworkSettings(phone.store, network);
    phone.Start({sip, account, "secret"});
}

// A phone registers over TCP; "Network..." moves it at once to TLS with the CA file and
// encrypted audio required (strict), and the old binding goes. It and a phone that only offers
// encrypted audio (lenient) call each other with encrypted audio. The plain far end behind the
// server (which reaches a phone over the phone's own TLS connection) calls and is called by the
// lenient phone, and is refused by the strict one. Shutting down unregisters.
TEST(SecureTransportTest, TcpThenTlsCallsWithAndWithoutEncryptedAudio) {
    SecureServer secure;
    ASSERT_TRUE(secure.made && secure.answering && secure.server.Start());
    Phone strict, lenient;
    StartOver(strict, secure.server.Address(), {SipTransport::Tcp, secure.CaFile(), {}});
    ASSERT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001", "tcp") == 1; }));
    EXPECT_TRUE(strict.Shows("Registered"));
    WriteSavedValue(strict.store, "Sip", secure.server.TlsAddress());
    strict.windows.network =
        NetworkSettings{SipTransport::Tls, secure.CaFile(), SrtpPolicy::Required};
    strict.window.OnNetworkTriggered();
    ASSERT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001", "tls") == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001") == 1; }, 2000))
        << secure.server.Contacts("1001") << " contacts";
    EXPECT_TRUE(strict.Shows("Registered"));
    EXPECT_TRUE(strict.messages.shown.empty());
    StartOver(lenient, secure.server.TlsAddress(),
              {SipTransport::Tls, secure.CaFile(), SrtpPolicy::Optional}, "1002");
    ASSERT_TRUE(lenient.Shows("Registered"));

    for (auto [caller, callee] : {std::pair{&strict, &lenient}, {&lenient, &strict}}) {
        caller->Dial(caller == &lenient ? "1001" : "1002");
        ASSERT_TRUE(callee->Shows("INCOMING"));
        callee->window.OnDialClicked();
        ASSERT_TRUE(WaitUntil([&] { return caller->Connected() && callee->Connected(); }))
            << caller->Status().toStdString() << " / " << callee->Status().toStdString();
        EXPECT_TRUE(caller->phone.Session()->MediaEncrypted());
        EXPECT_TRUE(callee->phone.Session()->MediaEncrypted());
        caller->window.OnEndClicked();
        EXPECT_TRUE(callee->Shows("DISCONNECTED"));
    }

    for (Phone* phone : {&lenient, &strict}) {
        const bool connects = phone == &lenient;
        SCOPED_TRACE(connects ? "lenient" : "strict");
        phone->Dial(connects ? "6000" : "6001");
        if (connects) {
            ASSERT_TRUE(phone->Shows("CONNECTED"));
            EXPECT_FALSE(phone->phone.Session()->MediaEncrypted());
            phone->window.OnEndClicked();
        } else {
            EXPECT_TRUE(phone->Shows("Refused: the far end offers no encrypted audio"));
        }
        EXPECT_TRUE(WaitUntil([&] { return !phone->phone.CallActive(); }));

        Sipp caller;
        ASSERT_TRUE(caller.Call(secure.server.Address(), connects ? "1002" : "1001", 300));
        if (connects) {
            ASSERT_TRUE(phone->Shows("INCOMING"));
            phone->window.OnDialClicked();
            EXPECT_TRUE(caller.Finished()) << caller.Trace().toStdString();
        } else {
            EXPECT_FALSE(caller.Finished());
            EXPECT_TRUE(caller.Trace().contains("SIP/2.0 488")) << caller.Trace().toStdString();
            EXPECT_FALSE(phone->phone.CallActive());
        }
    }
    strict.phone.Shutdown();
    EXPECT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001") == 0; }));
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SecureServer secure(c.certificateName);
        ASSERT_TRUE(secure.made && secure.server.Start());
        Phone phone;
        StartOver(phone, secure.server.TlsAddress(),
                  {SipTransport::Tls, c.caFile ? secure.CaFile() : QString(), SrtpPolicy::Off});
        ASSERT_TRUE(phone.Shows("Certificate refused"));
        ASSERT_EQ(phone.messages.shown.size(), 1u);
        EXPECT_TRUE(phone.messages.shown[0].contains(c.reason))
            << phone.messages.shown[0].toStdString();
        EXPECT_EQ(secure.server.Contacts("1001"), 0);
    }
}

}  // namespace
}  // namespace softphone::test
