#include <gtest/gtest.h>

#include "app/ProvisioningXml.h"
#include "app/SipEngine.h"

namespace softphone {
namespace {

TEST(ProvisioningXml, NormalAccountGivesTheExactProfile) {
    EXPECT_EQ(
        BuildProfileXml("12345", "pw", "sip.example.com:5070", "").toStdString(),
        "<provision key=\"7c2e9b14-3a5d-4f86-b0e1-92d4c7a85f30\" name=\"12345\" expires=\"600\">"
        "<user account=\"12345\" name=\"\" password=\"pw\" uri=\"sip:12345@sip.example.com:5070\" /> "
        "<sipsrv addr=\"sip.example.com:5070\" protocol=\"UDP\" auth=\"digest\" role=\"registrar\">"
        "<session party=\"first\" type=\"pc2ph\" /></sipsrv>"
        "<sipsrv addr=\"sip.example.com:5070\" protocol=\"UDP\" auth=\"digest\" role=\"proxy\">"
        "<session party=\"first\" type=\"pc2ph\" /></sipsrv>"
        "<provider calldisplay=\"sip:12345@sip.example.com:5070\" /></provision>");
}

TEST(ProvisioningXml, EveryValueSurvivesTheRoundTripEscaped) {
    const QString password = QStringLiteral("a\"b&c<d>'e");
    const QString account = QStringLiteral("x&\"y");
    const QString xml = BuildProfileXml(account, password, "10.0.0.1", "");
    EXPECT_TRUE(xml.contains("password=\"a&quot;b&amp;c&lt;d&gt;&apos;e\""));
    const ProvisioningProfile parsed = ParseProfileXml(xml);
    EXPECT_EQ(parsed.password, password);
    EXPECT_EQ(parsed.account, account);
    EXPECT_EQ(parsed.uri, "sip:" + account + "@10.0.0.1");
    EXPECT_EQ(parsed.registrar, "10.0.0.1");
    EXPECT_EQ(parsed.proxy, "10.0.0.1");
    EXPECT_EQ(parsed.expires, 600);
}

TEST(ProvisioningXml, EmptySettingsStillGiveACompleteProfile) {
    const QString xml = BuildProfileXml("", "", "", "");
    EXPECT_TRUE(xml.contains("<user account=\"\" name=\"\" password=\"\" uri=\"sip:@\" /> "));
    EXPECT_TRUE(xml.endsWith("<provider calldisplay=\"sip:@\" /></provision>"));
    EXPECT_NO_THROW(ParseProfileXml(xml));
}

TEST(ProvisioningXml, UnusableXmlIsRefused) {
    for (const char* xml : {"", "<provision", "not xml at all", "<provision></provision>",
                            "<provision><user account=\"1\" /></provision>",
                            "<provision><user account=\"1\"></provision>"}) {
        EXPECT_THROW(ParseProfileXml(QString::fromUtf8(xml)), EngineError) << xml;
    }
}

}  // namespace
}  // namespace softphone
