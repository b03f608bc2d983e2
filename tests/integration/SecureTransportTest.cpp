// The real engine over TCP and TLS to a kamailio whose certificate a private CA signed.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

const QString kRegistered = QStringLiteral("Registered and Ready...");

// A kamailio with TLS, its certificate made for `certificateName` by the CA in `certs`.
struct SecureServer {
    explicit SecureServer(const QString& certificateName = QStringLiteral("127.0.0.1")) {
        made = MakeCertificates(certs.path(), certificateName);
        server.UseTls(certs.path());
    }
    QString CaFile() const { return certs.filePath("ca.pem"); }

    QTemporaryDir certs;
    bool made = false;
    Sipp farEnd;  // answers on plain UDP behind the server, reached as number 6000
    bool answering = farEnd.AnswerAndEcho();
    SipServer server{{{"1001", "secret"}, {"1002", "secret"}}, {{"6000", farEnd.Uri()}}};
};

void StartOver(Phone& phone, const QString& sip, const NetworkSettings& network,
               const QString& account = QStringLiteral("1001")) {
    WriteNetworkSettings(phone.store, network);
    phone.Start({sip, account, "secret"});
}

// Over TCP; then "Network..." re-registers at once over TLS with the CA file, and the old binding
// goes; shutting down unregisters.
TEST(SecureTransportTest, RegistersOverTcpAndMovesToTls) {
    SecureServer secure;
    ASSERT_TRUE(secure.made && secure.server.Start());
    Phone phone;
    StartOver(phone, secure.server.Address(), {SipTransport::Tcp, secure.CaFile(), {}});
    ASSERT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001", "tcp") == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == kRegistered; }));

    WriteSavedValue(phone.store, "Sip", secure.server.TlsAddress());
    phone.windows.network = NetworkSettings{SipTransport::Tls, secure.CaFile(), {}};
    phone.window.OnNetworkTriggered();
    ASSERT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001", "tls") == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001") == 1; }, 2000))
        << secure.server.Contacts("1001") << " contacts";
    EXPECT_TRUE(WaitUntil([&] { return phone.Status() == kRegistered; }));
    EXPECT_TRUE(phone.messages.shown.empty());
    phone.phone.Shutdown();
    EXPECT_TRUE(WaitUntil([&] { return secure.server.Contacts("1001") == 0; }));
}

TEST(SecureTransportTest, TwoPhonesOverTlsTalkWithEncryptedAudio) {
    SecureServer secure;
    ASSERT_TRUE(secure.made && secure.server.Start());
    for (auto [callerSrtp, calleeSrtp] : {std::pair{SrtpPolicy::Optional, SrtpPolicy::Required},
                                          {SrtpPolicy::Required, SrtpPolicy::Optional},
                                          {SrtpPolicy::Optional, SrtpPolicy::Optional}}) {
        Phone caller, callee;
        StartOver(caller, secure.server.TlsAddress(),
                  {SipTransport::Tls, secure.CaFile(), callerSrtp});
        StartOver(callee, secure.server.TlsAddress(),
                  {SipTransport::Tls, secure.CaFile(), calleeSrtp}, "1002");
        ASSERT_TRUE(WaitUntil([&] { return caller.Registered() && callee.Registered(); }));

        caller.Dial("1002");
        ASSERT_TRUE(WaitUntil([&] { return callee.Status() == "INCOMING"; }));
        callee.window.OnDialClicked();
        ASSERT_TRUE(WaitUntil([&] { return caller.Connected() && callee.Connected(); }))
            << caller.Status().toStdString() << " / " << callee.Status().toStdString();
        EXPECT_TRUE(caller.phone.Session()->MediaEncrypted());
        EXPECT_TRUE(callee.phone.Session()->MediaEncrypted());
        caller.window.OnEndClicked();
        EXPECT_TRUE(WaitUntil([&] { return callee.Status() == "DISCONNECTED"; }));
    }
}

// The far end behind the server (plain UDP) answers and calls with plain audio only; the server
// reaches the phone over the phone's own TLS connection.
TEST(SecureTransportTest, PlainFarEndConnectsWhenSrtpIsOptionalAndIsRefusedWhenRequired) {
    struct Case {
        SrtpPolicy srtp;
        bool connects;
    };
    for (const Case& c : {Case{SrtpPolicy::Optional, true}, Case{SrtpPolicy::Required, false}}) {
        SecureServer secure;
        ASSERT_TRUE(secure.made && secure.answering && secure.server.Start());
        Phone phone;
        StartOver(phone, secure.server.TlsAddress(), {SipTransport::Tls, secure.CaFile(), c.srtp});
        ASSERT_TRUE(WaitUntil([&] { return phone.Registered(); }));

        phone.Dial("6000");
        if (c.connects) {
            ASSERT_TRUE(WaitUntil([&] { return phone.Connected(); }))
                << phone.Status().toStdString();
            EXPECT_FALSE(phone.phone.Session()->MediaEncrypted());
            phone.window.OnEndClicked();
        } else {
            EXPECT_TRUE(WaitUntil([&] {
                return phone.Status() == "Refused: the far end offers no encrypted audio";
            })) << phone.Status().toStdString();
        }
        EXPECT_TRUE(WaitUntil([&] { return !phone.phone.CallActive(); }));

        Sipp caller;
        ASSERT_TRUE(caller.Call(secure.server.Address(), "1001", 300));
        if (c.connects) {
            ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }));
            phone.window.OnDialClicked();
            EXPECT_TRUE(caller.Finished()) << caller.Trace().toStdString();
        } else {
            EXPECT_FALSE(caller.Finished());
            EXPECT_TRUE(caller.Trace().contains("SIP/2.0 488")) << caller.Trace().toStdString();
            EXPECT_FALSE(phone.phone.CallActive());
        }
    }
}

TEST(SecureTransportTest, CertificateThatDoesNotVerifyIsRefusedWithItsReason) {
    QTemporaryDir otherCa;
    ASSERT_TRUE(MakeCertificates(otherCa.path(), "127.0.0.1"));
    struct Case {
        const char* what;
        QString certificateName;
        QString caFile;  // empty: the CA file of the server's own CA
        const char* reason;
    } cases[] = {
        {"system CAs only", "127.0.0.1", "-", "the certificate is not signed by a trusted CA"},
        {"another CA", "127.0.0.1", otherCa.filePath("ca.pem"),
         "the certificate is not signed by a trusted CA"},
        {"another name", "example.test", "", "the certificate is not for 127.0.0.1"},
    };
    for (const Case& c : cases) {
        SecureServer secure(c.certificateName);
        ASSERT_TRUE(secure.made && secure.server.Start()) << c.what;
        const QString caFile =
            c.caFile.isEmpty() ? secure.CaFile() : (c.caFile == "-" ? QString() : c.caFile);
        Phone phone;
        StartOver(phone, secure.server.TlsAddress(), {SipTransport::Tls, caFile, SrtpPolicy::Off});
        ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "Certificate refused"; }))
            << c.what << ": " << phone.Status().toStdString();
        ASSERT_EQ(phone.messages.shown.size(), 1u) << c.what;
        EXPECT_TRUE(phone.messages.shown[0].contains(c.reason))
            << c.what << ": " << phone.messages.shown[0].toStdString();
        EXPECT_EQ(secure.server.Contacts("1001"), 0) << c.what;
    }
}

}  // namespace
}  // namespace softphone::test
