// The handset's look: the skin and its lit buttons, the tooltips, the rounded and then the
// picture-shaped window, and dragging by the background.
#include <QComboBox>
#include <QFrame>
#include <QLabel>

#include "app/frmSoftphone.h"
#include "support/HotButtons.h"
#include "support/PictureButton.h"
#include "support/Region.h"
#include "support/Skin.h"
#include "support/clsTooltip.h"
#include "support/modMoveForm.h"
#include "support/modShape.h"

namespace softphone {
namespace {

struct Faces {
    PictureButton* frmSoftphone::*button;
    const char* off;
    const char* on;
};

constexpr Faces kFaces[] = {
    {&frmSoftphone::Picture6, "dial-off", "dial-on"},
    {&frmSoftphone::Picture8, "end-off", "end-on"},
    {&frmSoftphone::Picture3, "recent-off", "recent-on"},
    {&frmSoftphone::Picture11, "book-off", "book-on"},
    {&frmSoftphone::Picture13, "wizard-off", "wizard-on"},
    {&frmSoftphone::Picture2, "pin-off", "pin-on"},
    {&frmSoftphone::Picture16, "clear-off", "clear-on"},
    {&frmSoftphone::Picture17, "back-off", "back-on"},
};

}  // namespace

void frmSoftphone::ApplySkin() {
    Picture1->setPixmap(WindowSkinPixmap(WindowSkin::Handset));
    new DragHandle(Picture1, this);

    hotButtons = new HotButtons(this);
    for (const Faces& faces : kFaces) {
        PictureButton* button = this->*faces.button;
        button->SetFaces(ArtPixmap(QLatin1String(faces.off)), ArtPixmap(QLatin1String(faces.on)));
        hotButtons->Add(button);
    }
    for (PictureButton* key : DialKeys) {
        key->SetFaces(DialKeyPixmap(key->Caption(), false), DialKeyPixmap(key->Caption(), true));
        hotButtons->Add(key);
    }
    Picture40->SetPicture(ArtPixmap(QStringLiteral("close")));
    Picture41->SetPicture(ArtPixmap(QStringLiteral("hide")));

    Picture4->setPixmap(ArtPixmap(QStringLiteral("banner")));
    Picture4->setCursor(Qt::PointingHandCursor);
    const std::pair<QLabel*, const char*> icons[] = {
        {Image1, "speaker"}, {Image2, "mic"}, {Image3, "signal"}};
    for (const auto& [label, art] : icons) {
        label->setPixmap(ArtPixmap(QLatin1String(art)));
        label->setAlignment(Qt::AlignCenter);
    }

    // The status line, number field and balance are drawn on the skin's display.
    lblMsg->setStyleSheet(QStringLiteral(
        "color: #d9f7ff; font: bold 9pt 'Liberation Sans'; background: transparent;"));
    lblBalance->setStyleSheet(
        QStringLiteral("color: #9fe7ff; font: 8pt 'Liberation Sans'; background: transparent;"));
    lblBalance->setAlignment(Qt::AlignCenter);
    cmbPhoneNo->setStyleSheet(
        QStringLiteral("QComboBox { background: rgba(3, 22, 28, 170); color: #f2fdff;"
                       " border: 1px solid #3a8fa3; border-radius: 4px; padding: 0 3px;"
                       " font: bold 10pt 'Liberation Mono'; selection-background-color: #3bb4e6; }"
                       "QComboBox:disabled { color: #9fc9d3; border-color: #24606e; }"
                       "QComboBox::drop-down { width: 0; border: none; }"));
    Frame1->setFrameShape(QFrame::NoFrame);
}

void frmSoftphone::RoundWindow() {
    softphone::RoundWindow(this);
}

void frmSoftphone::AttachTooltips() {
    objTooltip = new clsTooltip(this);
    const std::pair<QWidget*, const char*> tools[] = {
        {Picture6, "Click to Make Call"},
        {Picture11, "SoftPhone Book"},
        {Picture2, "Login Server"},
        {Picture3, "Recent Call"},
        {Picture16, "Clear Current Number"},
        {Picture17, "Clear Current Number one by one"},
        {Picture8, "Click to End Call"},
        {Picture13, "Audio Wizard"},
        {Picture41, "Hide Application to System Tray"},
        {Picture40, "Close and Exit Application"},
        {cmbPhoneNo, "Include International Country Code"},
    };
    for (const auto& [control, text] : tools) {
        ToolOptions options;
        options.TOOLTIPTEXT = QString::fromLatin1(text);
        objTooltip->AddTool(control, options);
    }
}

void frmSoftphone::ShapeWindow() {
    ShapeWindowFromPicture(this, WindowSkinPicture(WindowSkin::Handset));
}

}  // namespace softphone
