#include "dialer/VolumeSliders.h"

#include <qdrawutil.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "support/AppPaths.h"
#include "support/Skin.h"
#include "support/Twips.h"
#include "support/MixerLevels.h"

namespace softphone {
namespace {

struct Place {
    int left, top, width, height;
};

// Tracks and thumbs in twips on the frame; both tracks span the same width.
constexpr Place kTrack[2] = {{45, 120, 1485, 60}, {45, 345, 1485, 60}};
constexpr Place kThumb[2] = {{600, 90, 100, 100}, {600, 350, 100, 100}};
const char* const kReleaseSound = "ding.wav";

int ButtonState(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

}  // namespace

VolumeThumb::VolumeThumb(QRect place, QRect edge, QWidget* parent) : QWidget(parent), edge_(edge) {
    setGeometry(place);
}

void VolumeThumb::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x40, 0x40, 0x40));
    const QPixmap knob = ArtPixmap(QStringLiteral("knob"));
    if (!knob.isNull()) {
        const QSize fit = knob.deviceIndependentSize().toSize().scaled(size(), Qt::KeepAspectRatio);
        painter.drawPixmap(QRect(QPoint((width() - fit.width()) / 2, 0), fit), knob);
    }
    // The classic 3-D edge colours, whatever the desktop's palette: white and light grey
    // outside-in on the lit sides, black and dark grey on the shaded sides.
    QPalette edge;
    edge.setColor(QPalette::Light, Qt::white);
    edge.setColor(QPalette::Midlight, QColor(0xc0, 0xc0, 0xc0));
    edge.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    edge.setColor(QPalette::Shadow, Qt::black);
    qDrawWinPanel(&painter, edge_, edge, false);
}

VolumeSliders::VolumeSliders(QWidget* frame, MixerLevels& volume, PlaySoundFile play)
    : QObject(frame), volume_(volume), play_(std::move(play)) {
    lngHalfThumb = kThumb[0].width / 2;
    lngTrackLeft = kTrack[0].left;
    lngTrackRight = kTrack[0].left + kTrack[0].width;
    lngTrackWidth = kTrack[0].width;
    rcThumb = QRect(0, 0, kThumb[0].width / kTwipsPerPixel, kThumb[0].height / kTwipsPerPixel);

    sngLevelPerTwip[0] =
        float(double(volume_.MaxWaveVolume() - volume_.MinWaveVolume()) / lngTrackWidth);
    sngLevelPerTwip[1] =
        float(double(volume_.MaxMicVolume() - volume_.MinMicVolume()) / lngTrackWidth);

    for (int i = 0; i < 2; ++i) {
        const Place& t = kTrack[i];
        Label1[i] = new QLabel(frame);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1[i]->setGeometry(TwipsRect(t.left, t.top, t.width, t.height));
        Label1[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        Label1[i]->setStyleSheet(QStringLiteral("background: #9ca3af;"));

        const Place& p = kThumb[i];
        picWave[i] = new VolumeThumb(TwipsRect(p.left, p.top, p.width, p.height), rcThumb, frame);
        picWave[i]->setObjectName(QStringLiteral("picWave_%1").arg(i));
        picWave[i]->installEventFilter(this);
        thumbTop_[i] = p.top;

        const bool shown = volume_.HasVolumeControl(1 << i);
        Label1[i]->setVisible(shown);
        picWave[i]->setVisible(shown);
        const int level = i == 0 ? volume_.WaveVolume() : volume_.MicroVolume();
        PlaceThumb(i, shown ? ThumbLeftForLevel(i, level) : p.left);
    }
}

VolumeSliders::~VolumeSliders() {
    for (int i = 0; i < 2; ++i) {
        delete picWave[i];
        delete Label1[i];
    }
}

// The thumb sits where the line's level is now: offset = (level - Min) / factor.
int VolumeSliders::ThumbLeftForLevel(int index, int level) const {
    if (sngLevelPerTwip[index] <= 0) return kThumb[index].left;
    const int minimum = index == 0 ? volume_.MinWaveVolume() : volume_.MinMicVolume();
    const int first = lngTrackLeft - lngHalfThumb;
    const int offset = RoundHalfEven((level - minimum) / double(sngLevelPerTwip[index]));
    return std::clamp(first + offset, first, lngTrackRight - lngHalfThumb);
}

void VolumeSliders::PlaceThumb(int index, int left) {
    thumbLeft_[index] = left;
    picWave[index]->move(TwipsToPixels(left), TwipsToPixels(thumbTop_[index]));
}

void VolumeSliders::OnTrackMousePress(int, int button, float x) {
    if (button == kLeftButton) lngDragAnchor = RoundHalfEven(x);
}

void VolumeSliders::OnTrackMouseMove(int index, int button, float x) {
    if (button == kLeftButton) MoveVolumeThumb(index, x);
}

void VolumeSliders::OnTrackMouseRelease(int index) {
    if (index % 2 == 0 && index < 4 && play_) play_(SoundFilePath(QLatin1String(kReleaseSound)));
}

void VolumeSliders::MoveVolumeThumb(int index, float x) {
    // The sum in single precision, the difference in double, as the drag always did.
    int p = RoundHalfEven(double(float(thumbLeft_[index]) + x) - lngDragAnchor);
    if (p < lngTrackLeft - lngHalfThumb) p = lngTrackLeft - lngHalfThumb;
    if (p > lngTrackRight - lngHalfThumb) p = lngTrackRight - lngHalfThumb;
    PlaceThumb(index, p);
    ApplySliderVolume(p, index);
}

void VolumeSliders::ApplySliderVolume(int p, int index) {
    const int offset = p - (lngTrackLeft - lngHalfThumb);
    if (index == 0)
        volume_.WaveVolume(RoundHalfEven(double(sngLevelPerTwip[0]) * offset));
    else if (index == 1)
        volume_.MicroVolume(RoundHalfEven(double(sngLevelPerTwip[1]) * offset));
}

int VolumeSliders::Index(QObject* thumb) const {
    for (int i = 0; i < 2; ++i)
        if (picWave[i] == thumb) return i;
    return -1;
}

bool VolumeSliders::eventFilter(QObject* watched, QEvent* event) {
    const int index = Index(watched);
    if (index < 0) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            break;
        default:
            return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const float x = float(mouse->position().x() * kTwipsPerPixel);
    const int buttons = ButtonState(mouse->buttons());
    if (event->type() == QEvent::MouseButtonPress)
        OnTrackMousePress(index, buttons, x);
    else if (event->type() == QEvent::MouseMove)
        OnTrackMouseMove(index, buttons, x);
    else
        OnTrackMouseRelease(index);
    return true;
}

QString SoundFilePath(const QString& name) {
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = QDir(InstalledDataFolder()).filePath(name);
    return QFileInfo::exists(installed) ? installed : beside;
}

}  // namespace softphone
