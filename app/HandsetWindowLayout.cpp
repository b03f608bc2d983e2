// The controls of the handset window at their places on the skin.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <vector>

#include "app/HandsetWindow.h"
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
    {"dialKey1", "1", 1080, 3420}, {"dialKey2", "2", 1860, 3420},
    {"dialKey3", "3", 2625, 3420}, {"dialKey4", "4", 1080, 3855},
    {"dialKey5", "5", 1860, 3855}, {"dialKey6", "6", 2625, 3855},
    {"dialKey7", "7", 1080, 4275}, {"dialKey8", "8", 1860, 4275},
    {"dialKey9", "9", 2625, 4275}, {"dialKeyStar", "*", 1080, 4695},
    {"dialKey0", "0", 1860, 4680}, {"dialKeyPound", "#", 2625, 4695},
};

QLabel* label(const char* name, QRect place, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

}  // namespace

void HandsetWindow::buildControls() {
    setObjectName(QStringLiteral("HandsetWindow"));
    setWindowTitle(tr("Softphone"));
    setWindowFlag(Qt::FramelessWindowHint);

    skinLabel = label("skinLabel", twipsRect(0, 0, 4380, 5835), this);

    auto button = [this](const char* name, const char* caption, int l, int t, int w, int h) {
        return new PictureButton(QLatin1String(name), QString::fromUtf8(caption),
                                 twipsRect(l, t, w, h), this);
    };
    dialButton = button("dialButton", "Dial", 360, 3480, 585, 780);
    endButton = button("endButton", "End", 3480, 3480, 600, 765);
    recentButton = button("recentButton", "R", 680, 2640, 405, 345);
    phoneBookButton = button("phoneBookButton", "PB", 1590, 2640, 330, 315);
    tuningButton = button("tuningButton", "AW", 2400, 2640, 360, 345);
    loginButton = button("loginButton", "AP", 3360, 2640, 330, 345);
    clearButton = button("clearButton", "Clear", 2880, 1200, 570, 270);
    backButton = button("backButton", "Back", 2880, 1560, 585, 270);
    for (size_t i = 0; i < dialKeys.size(); ++i) {
        const DialKeyPlace& k = kDialKeys[i];
        dialKeys[i] = button(k.name, k.key, k.left, k.top, 720, 405);
    }
    closeButton = button("closeButton", "x", 3840, 140, 180, 180);
    hideButton = button("hideButton", "-", 4035, 330, 180, 180);

    bannerLink = label("bannerLink", twipsRect(1200, 400, 1815, 270), this);
    statusLabel = label("statusLabel", twipsRect(1080, 960, 2295, 300), this);
    numberBox = new QComboBox(this);
    numberBox->setObjectName(QStringLiteral("numberBox"));
    numberBox->setEditable(true);
    numberBox->setInsertPolicy(QComboBox::NoInsert);
    numberBox->setGeometry(twipsRect(1080, 1200, 1800, 315));
    levelsPanel = new QFrame(this);
    levelsPanel->setObjectName(QStringLiteral("levelsPanel"));
    levelsPanel->setGeometry(twipsRect(1080, 1620, 1680, 480));
    balanceLabel = label("balanceLabel", twipsRect(1320, 2040, 1215, 255), this);
    speakerIcon = label("speakerIcon", twipsRect(570, 1545, 240, 240), this);
    micIcon = label("micIcon", twipsRect(570, 1785, 240, 240), this);
    signalIcon = label("signalIcon", twipsRect(585, 1005, 225, 165), this);

    // Tab starts at the number field (which has the focus first), then takes the buttons in
    // reading order.
    std::vector<QWidget*> tabOrder = {numberBox,       clearButton,  backButton,  recentButton,
                                      phoneBookButton, tuningButton, loginButton, dialButton};
    tabOrder.insert(tabOrder.end(), dialKeys.begin(), dialKeys.end());
    tabOrder.insert(tabOrder.end(), {endButton, hideButton, closeButton});
    for (size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    settingsMenu = new QMenu(this);
    settingsMenu->setObjectName(QStringLiteral("settingsMenu"));
    QAction* loginAs = settingsMenu->addAction(tr("&Login As..."));
    loginAs->setObjectName(QStringLiteral("loginAsAction"));
    connect(loginAs, &QAction::triggered, this, &HandsetWindow::onLoginAsTriggered);
    QAction* network = settingsMenu->addAction(tr("&Network..."));
    network->setObjectName(QStringLiteral("networkAction"));
    connect(network, &QAction::triggered, this, &HandsetWindow::onNetworkTriggered);

    connect(closeButton, &PictureButton::clicked, this, &HandsetWindow::onCloseClicked);
    applySkin();
}

}  // namespace softphone
