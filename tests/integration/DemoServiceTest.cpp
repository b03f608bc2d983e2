// The demo service of the run command, used as the README tells a user to.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QRegularExpression>

#include "tests/support/Child.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

class DemoServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
        service.setProcessChannelMode(QProcess::MergedChannels);
        service.start(SourceDir() + "/scripts/demo-service");
        ASSERT_TRUE(WaitUntil(
            [&] {
                output += service.readAll();
                return output.contains("Number 6000");
            },
            10000))
            << output.toStdString();
        address = QRegularExpression("Sip IP/Domain +(\\S+)").match(output).captured(1);
        tlsAddress = QRegularExpression("TLS Sip IP/Domain +(\\S+)").match(output).captured(1);
        caFile = QRegularExpression("Trusted CA file +(\\S+)").match(output).captured(1);
        ASSERT_FALSE(address.isEmpty());
    }
    Child service;
    QString output, address, tlsAddress, caFile;
};

// Over UDP as printed, and over TLS with the service's own CA.
TEST_F(DemoServiceTest, EchoNumberAnswersAndTheServiceCallsThePhone) {
    for (bool tls : {false, true}) {
        Phone phone;
        if (tls)
            WriteNetworkSettings(phone.store, {SipTransport::Tls, caFile, SrtpPolicy::Optional});
        phone.Start({tls ? tlsAddress : address, "1001", "demo1001"});
        ASSERT_TRUE(WaitUntil([&] { return phone.Registered(); })) << tls << output.toStdString();

        phone.Dial("6000");
        ASSERT_TRUE(WaitUntil([&] { return phone.Connected(); }));
        phone.window.OnEndClicked();
        ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));

        Child callMe(SourceDir() + "/scripts/call-me", {"1001", "1"});
        ASSERT_TRUE(WaitUntil([&] { return phone.Status() == "INCOMING"; }));
        phone.window.OnDialClicked();
        EXPECT_TRUE(WaitUntil([&] { return phone.Connected(); }));
        EXPECT_TRUE(WaitUntil([&] { return phone.Status() == "DISCONNECTED"; }));
        EXPECT_TRUE(WaitUntil([&] { return callMe.state() == QProcess::NotRunning; }));
        EXPECT_EQ(callMe.exitCode(), 0);
    }
}

}  // namespace
}  // namespace softphone::test
