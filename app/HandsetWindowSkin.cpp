// The handset's look: the skin and its buttons' faces, the tooltips, the rounded and then the
// picture-shaped window, and dragging by the background.
#include <QComboBox>
#include <QFrame>
#include <QLabel>

#include "app/HandsetWindow.h"
#include "support/CentredToolTip.h"
#include "support/PictureButton.h"
#include "support/Skin.h"
#include "support/WindowDrag.h"
#include "support/WindowShape.h"

namespace softphone {
namespace {

struct Faces {
    PictureButton* HandsetWindow::*button;
    const char* off;
    const char* on;
};

constexpr Faces kFaces[] = {
    {&HandsetWindow::dialButton, "dial-off", "dial-on"},
    {&HandsetWindow::endButton, "end-off", "end-on"},
    {&HandsetWindow::recentButton, "recent-off", "recent-on"},
    {&HandsetWindow::phoneBookButton, "book-off", "book-on"},
    {&HandsetWindow::tuningButton, "wizard-off", "wizard-on"},
    {&HandsetWindow::loginButton, "pin-off", "pin-on"},
    {&HandsetWindow::clearButton, "clear-off", "clear-on"},
    {&HandsetWindow::backButton, "back-off", "back-on"},
};

}  // namespace

void HandsetWindow::applySkin() {
    skinLabel->setPixmap(windowSkinPixmap(WindowSkin::Handset));
    new WindowDrag(skinLabel, this);

    for (const Faces& faces : kFaces) {
        (this->*faces.button)
            ->setFaces(artPixmap(QLatin1String(faces.off)), artPixmap(QLatin1String(faces.on)));
    }
    for (PictureButton* key : dialKeys)
        key->setFaces(dialKeyPixmap(key->text(), false), dialKeyPixmap(key->text(), true));
    closeButton->setPicture(artPixmap(QStringLiteral("close")));
    hideButton->setPicture(artPixmap(QStringLiteral("hide")));

    bannerLink->setPixmap(artPixmap(QStringLiteral("banner")));
    bannerLink->setCursor(Qt::PointingHandCursor);
    const std::pair<QLabel*, const char*> icons[] = {
        {speakerIcon, "speaker"}, {micIcon, "mic"}, {signalIcon, "signal"}};
    for (const auto& [label, art] : icons) {
        label->setPixmap(artPixmap(QLatin1String(art)));
        label->setAlignment(Qt::AlignCenter);
    }

    // The status line, number field and balance are drawn on the skin's display.
    statusLabel->setStyleSheet(QStringLiteral(
        "color: #d9f7ff; font: bold 9pt 'Liberation Sans'; background: transparent;"));
    balanceLabel->setStyleSheet(
        QStringLiteral("color: #9fe7ff; font: 8pt 'Liberation Sans'; background: transparent;"));
    balanceLabel->setAlignment(Qt::AlignCenter);
    numberBox->setStyleSheet(
        QStringLiteral("QComboBox { background: rgba(3, 22, 28, 170); color: #f2fdff;"
                       " border: 1px solid #3a8fa3; border-radius: 4px; padding: 0 3px;"
                       " font: bold 10pt 'Liberation Mono'; selection-background-color: #3bb4e6; }"
                       "QComboBox:disabled { color: #9fc9d3; border-color: #24606e; }"
                       "QComboBox::drop-down { width: 0; border: none; }"));
    levelsPanel->setFrameShape(QFrame::NoFrame);
}

void HandsetWindow::attachTooltips() {
    const std::pair<QWidget*, QString> tips[] = {
        {dialButton, tr("Click to Make Call")},
        {phoneBookButton, tr("SoftPhone Book")},
        {loginButton, tr("Login Server")},
        {recentButton, tr("Recent Call")},
        {clearButton, tr("Clear Current Number")},
        {backButton, tr("Clear Current Number one by one")},
        {endButton, tr("Click to End Call")},
        {tuningButton, tr("Audio Wizard")},
        {hideButton, tr("Hide Application to System Tray")},
        {closeButton, tr("Close and Exit Application")},
        {numberBox, tr("Include International Country Code")},
    };
    for (const auto& [control, text] : tips) {
        setCentredToolTip(control, text);
        control->setAccessibleName(text);
    }
    // The tips show whether or not the handset is the active window.
    setAttribute(Qt::WA_AlwaysShowToolTips);
}

void HandsetWindow::shapeWindow() {
    shapeWindowToPicture(this, windowSkinPicture(WindowSkin::Handset),
                         QColor::fromRgb(kSkinKeyColor));
}

}  // namespace softphone
