// The controls of the handset window at their places on the skin.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>

#include "app/frmSoftphone.h"
#include "support/PictureButton.h"
#include "support/Twips.h"

namespace softphone {
namespace {

struct DialKeyPlace {
    const char* name;
    const char* key;
    int left, top;
};

constexpr DialKeyPlace kDialKeys[12] = {
    {"Picture20", "1", 1080, 3420}, {"Picture21", "2", 1860, 3420}, {"Picture22", "3", 2625, 3420},
    {"Picture25", "4", 1080, 3855}, {"Picture26", "5", 1860, 3855}, {"Picture27", "6", 2625, 3855},
    {"Picture30", "7", 1080, 4275}, {"Picture31", "8", 1860, 4275}, {"Picture32", "9", 2625, 4275},
    {"Picture35", "*", 1080, 4695}, {"Picture36", "0", 1860, 4680}, {"Picture37", "#", 2625, 4695},
};

QLabel* Label(const char* name, QRect place, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

}  // namespace

void frmSoftphone::BuildControls() {
    setObjectName(QStringLiteral("frmSoftphone"));
    setWindowTitle(QStringLiteral("Softphone"));
    setWindowFlag(Qt::FramelessWindowHint);

    Picture1 = Label("Picture1", TwipsRect(0, 0, 4380, 5835), this);

    auto button = [this](const char* name, const char* caption, int l, int t, int w, int h) {
        return new PictureButton(QLatin1String(name), QString::fromUtf8(caption),
                                 TwipsRect(l, t, w, h), this);
    };
    Picture6 = button("Picture6", "Dial", 360, 3480, 585, 780);
    Picture8 = button("Picture8", "End", 3480, 3480, 600, 765);
    Picture3 = button("Picture3", "R", 680, 2640, 405, 345);
    Picture11 = button("Picture11", "PB", 1590, 2640, 330, 315);
    Picture13 = button("Picture13", "AW", 2400, 2640, 360, 345);
    Picture2 = button("Picture2", "AP", 3360, 2640, 330, 345);
    Picture16 = button("Picture16", "Clear", 2880, 1200, 570, 270);
    Picture17 = button("Picture17", "Back", 2880, 1560, 585, 270);
    for (size_t i = 0; i < DialKeys.size(); ++i) {
        const DialKeyPlace& k = kDialKeys[i];
        DialKeys[i] = button(k.name, k.key, k.left, k.top, 720, 405);
    }
    Picture40 = button("Picture40", "x", 3840, 140, 180, 180);
    Picture41 = button("Picture41", "-", 4035, 330, 180, 180);

    Picture4 = Label("Picture4", TwipsRect(1200, 400, 1815, 270), this);
    lblMsg = Label("lblMsg", TwipsRect(1080, 960, 2295, 300), this);
    cmbPhoneNo = new QComboBox(this);
    cmbPhoneNo->setObjectName(QStringLiteral("cmbPhoneNo"));
    cmbPhoneNo->setEditable(true);
    cmbPhoneNo->setInsertPolicy(QComboBox::NoInsert);
    cmbPhoneNo->setGeometry(TwipsRect(1080, 1200, 1800, 315));
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(1080, 1620, 1680, 480));
    lblBalance = Label("lblBalance", TwipsRect(1320, 2040, 1215, 255), this);
    Image1 = Label("Image1", TwipsRect(570, 1545, 240, 240), this);
    Image2 = Label("Image2", TwipsRect(570, 1785, 240, 240), this);
    Image3 = Label("Image3", TwipsRect(585, 1005, 225, 165), this);

    tmrConnected.setInterval(1000);
    tmrIncomingRing.setInterval(4000);
    tmrInprogressRing.setInterval(4000);

    mnuSettings = new QMenu(this);
    mnuSettings->setObjectName(QStringLiteral("mnuSettings"));
    QAction* loginAs = mnuSettings->addAction(QStringLiteral("&Login As..."));
    loginAs->setObjectName(QStringLiteral("mnuLoginAs"));
    connect(loginAs, &QAction::triggered, this, &frmSoftphone::mnuLoginAs_Click);

    connect(Picture40, &PictureButton::clicked, this, &frmSoftphone::Picture40_Click);
    ApplySkin();
}

}  // namespace softphone
