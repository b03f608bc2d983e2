#include "app/NetworkDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace softphone {
namespace {

// A choice box of (text, value) items showing `current`.
QComboBox* choices(std::initializer_list<std::pair<QString, int>> items, int current,
                   QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const auto& [text, value] : items) box->addItem(text, value);
    box->setCurrentIndex(box->findData(current));
    return box;
}

}  // namespace

NetworkDialog::NetworkDialog(const NetworkSettings& settings, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NetworkDialog"));
    setWindowTitle(tr("Network"));

    transportBox = choices({{QStringLiteral("UDP"), int(SipTransport::Udp)},
                            {QStringLiteral("TCP"), int(SipTransport::Tcp)},
                            {QStringLiteral("TLS"), int(SipTransport::Tls)}},
                           int(settings.transport), this);

    caFileBox = new QLineEdit(settings.caFile, this);
    caFileBox->setPlaceholderText(tr("System CAs only"));
    browseButton = new QPushButton(tr("Browse..."), this);
    connect(browseButton, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(
            this, tr("Trusted CA file"), caFileBox->text(), tr("Certificates (*.pem *.crt)"));
        if (!file.isEmpty()) caFileBox->setText(file);
    });
    auto* caRow = new QHBoxLayout;
    caRow->addWidget(caFileBox);
    caRow->addWidget(browseButton);

    srtpBox = choices({{tr("Off"), int(SrtpPolicy::Off)},
                       {tr("Optional"), int(SrtpPolicy::Optional)},
                       {tr("Required"), int(SrtpPolicy::Required)}},
                      int(settings.srtp), this);

    stunServerBox = new QLineEdit(settings.stunServer, this);
    stunServerBox->setPlaceholderText(tr("None"));

    internationalPrefixBox = new QLineEdit(settings.internationalPrefix, this);
    internationalPrefixBox->setValidator(new QRegularExpressionValidator(
        QRegularExpression(kInternationalPrefixPattern), internationalPrefixBox));
    internationalPrefixBox->setInputMethodHints(Qt::ImhDigitsOnly);
    internationalPrefixBox->setPlaceholderText(tr("None"));

    dtmfBox = choices({{tr("Automatic"), int(DtmfMode::Automatic)},
                       {tr("SIP INFO"), int(DtmfMode::SipInfo)},
                       {tr("In the audio"), int(DtmfMode::InAudio)}},
                      int(settings.dtmf), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(tr("SIP transport"), transportBox);
    form->addRow(tr("Trusted CA file"), caRow);
    form->addRow(tr("Encrypted media (SRTP)"), srtpBox);
    form->addRow(tr("STUN server"), stunServerBox);
    // The label is the box's buddy: Alt+I reaches it, and screen readers read it as its name.
    form->addRow(tr("&International prefix"), internationalPrefixBox);
    form->addRow(tr("&DTMF"), dtmfBox);
    form->addRow(buttons);

    connect(transportBox, &QComboBox::currentIndexChanged, this,
            &NetworkDialog::onTransportChanged);
    onTransportChanged();
}

// Certificates and media keys travel only over TLS.
void NetworkDialog::onTransportChanged() {
    const bool tls = transportBox->currentData().toInt() == int(SipTransport::Tls);
    caFileBox->setEnabled(tls);
    browseButton->setEnabled(tls);
    srtpBox->setEnabled(tls);
}

NetworkSettings NetworkDialog::settings() const {
    return {SipTransport(transportBox->currentData().toInt()),
            caFileBox->text().trimmed(),
            SrtpPolicy(srtpBox->currentData().toInt()),
            stunServerBox->text().trimmed(),
            internationalPrefixBox->text(),
            DtmfMode(dtmfBox->currentData().toInt())};
}

}  // namespace softphone
