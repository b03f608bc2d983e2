#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "records/NetworkDialog.h"

namespace softphone::test {
namespace {

// The CA file and SRTP matter only over TLS: elsewhere they can not be changed.
TEST(NetworkDialogTest, ShowsTheSettingsAndOffersCaAndSrtpOnlyOverTls) {
    const NetworkSettings saved{SipTransport::Tls, "/etc/ca.pem", SrtpPolicy::Optional};
    NetworkDialog dialog(saved);
    EXPECT_EQ(dialog.Settings(), saved);
    for (auto [transport, secure] : {std::pair{SipTransport::Udp, false},
                                     {SipTransport::Tcp, false},
                                     {SipTransport::Tls, true}}) {
        dialog.transportBox->setCurrentIndex(dialog.transportBox->findData(int(transport)));
        EXPECT_EQ(dialog.caFileBox->isEnabled(), secure) << int(transport);
        EXPECT_EQ(dialog.browseButton->isEnabled(), secure) << int(transport);
        EXPECT_EQ(dialog.srtpBox->isEnabled(), secure) << int(transport);
        EXPECT_EQ(dialog.Settings().transport, transport);
    }
    dialog.caFileBox->setText("  /tmp/test ca.pem ");
    dialog.srtpBox->setCurrentIndex(dialog.srtpBox->findData(int(SrtpPolicy::Required)));
    EXPECT_EQ(dialog.Settings(),
              (NetworkSettings{SipTransport::Tls, "/tmp/test ca.pem", SrtpPolicy::Required}));
}

}  // namespace
}  // namespace softphone::test
