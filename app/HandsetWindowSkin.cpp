// The handset's look: the skin and its lit buttons, the tooltips, the rounded and then the
// picture-shaped window, and dragging by the background.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPainterPath>

#include "app/HandsetWindow.h"
#include "support/HotButtons.h"
#include "support/PictureButton.h"
#include "support/Skin.h"
#include "support/WindowDrag.h"
#include "support/WindowShape.h"
#include "support/clsTooltip.h"

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

void HandsetWindow::ApplySkin() {
    skinLabel->setPixmap(WindowSkinPixmap(WindowSkin::Handset));
    new WindowDrag(skinLabel, this);

    hotButtons = new HotButtons(this);
    for (const Faces& faces : kFaces) {
        PictureButton* button = this->*faces.button;
        button->SetFaces(ArtPixmap(QLatin1String(faces.off)), ArtPixmap(QLatin1String(faces.on)));
        hotButtons->Add(button);
    }
    for (PictureButton* key : dialKeys) {
        key->SetFaces(DialKeyPixmap(key->Caption(), false), DialKeyPixmap(key->Caption(), true));
        hotButtons->Add(key);
    }
    closeButton->SetPicture(ArtPixmap(QStringLiteral("close")));
    hideButton->SetPicture(ArtPixmap(QStringLiteral("hide")));

    bannerLink->setPixmap(ArtPixmap(QStringLiteral("banner")));
    bannerLink->setCursor(Qt::PointingHandCursor);
    const std::pair<QLabel*, const char*> icons[] = {
        {speakerIcon, "speaker"}, {micIcon, "mic"}, {signalIcon, "signal"}};
    for (const auto& [label, art] : icons) {
        label->setPixmap(ArtPixmap(QLatin1String(art)));
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

// Clipped 10 pixels inside the left and top edges and 45 above the bottom, with corners of a
// 150 x 100 ellipse, until the picture's outline replaces it.
void HandsetWindow::RoundWindow() {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(10, 10, width() - 10, height() - 55), 75, 50);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void HandsetWindow::AttachTooltips() {
    objTooltip = new clsTooltip(this);
    const std::pair<QWidget*, const char*> tools[] = {
        {dialButton, "Click to Make Call"},
        {phoneBookButton, "SoftPhone Book"},
        {loginButton, "Login Server"},
        {recentButton, "Recent Call"},
        {clearButton, "Clear Current Number"},
        {backButton, "Clear Current Number one by one"},
        {endButton, "Click to End Call"},
        {tuningButton, "Audio Wizard"},
        {hideButton, "Hide Application to System Tray"},
        {closeButton, "Close and Exit Application"},
        {numberBox, "Include International Country Code"},
    };
    for (const auto& [control, text] : tools) {
        ToolOptions options;
        options.TOOLTIPTEXT = QString::fromLatin1(text);
        objTooltip->AddTool(control, options);
    }
}

void HandsetWindow::ShapeWindow() {
    ShapeWindowToPicture(this, WindowSkinPicture(WindowSkin::Handset),
                         QColor::fromRgb(kSkinKeyColor));
}

}  // namespace softphone
