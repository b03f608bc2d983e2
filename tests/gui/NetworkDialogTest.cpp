#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "records/NetworkDialog.h"

namespace softphone::test {
namespace {

// The CA file and SRTP matter only over TLS: elsewhere they can not be changed. The STUN server
// can be set with any transport, or cleared for none.
TEST(NetworkDialogTest, ShowsTheSettingsAndOffersCaAndSrtpOnlyOverTls) {
    const NetworkSettings saved{SipTransport::Tls, "/etc/ca.pem", SrtpPolicy::Optional,
                                "stun.example.net:3478"};
    NetworkDialog dialog(saved);
    EXPECT_EQ(dialog.Settings(), saved);
    for (auto [transport, secure] :
         {std::pair{SipTransport::Udp, false}, {SipTransport::Tls, true}}) {
        dialog.transportBox->setCurrentIndex(dialog.transportBox->findData(int(transport)));
        EXPECT_EQ(dialog.caFileBox->isEnabled(), secure) << int(transport);
        EXPECT_EQ(dialog.browseButton->isEnabled(), secure) << int(transport);
        EXPECT_EQ(dialog.srtpBox->isEnabled(), secure) << int(transport);
        EXPECT_TRUE(dialog.stunServerBox->isEnabled());
    }
    dialog.caFileBox->setText("  /tmp/test ca.pem ");
    dialog.srtpBox->setCurrentIndex(dialog.srtpBox->findData(int(SrtpPolicy::Required)));
    dialog.stunServerBox->setText(" 198.18.0.1 ");
    EXPECT_EQ(dialog.Settings(), (NetworkSettings{SipTransport::Tls, "/tmp/test ca.pem",
                                                  SrtpPolicy::Required, "198.18.0.1"}));
    dialog.stunServerBox->setText("   ");
    EXPECT_EQ(dialog.Settings().stunServer, QString());
}

}  // namespace
}  // namespace softphone::test
