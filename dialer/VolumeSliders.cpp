#include "dialer/VolumeSliders.h"

#include <qdrawutil.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QProxyStyle>
#include <QSlider>
#include <QStyleOptionSlider>

#include "support/AppPaths.h"
#include "support/MixerLevels.h"
#include "support/Skin.h"
#include "support/Twips.h"

namespace softphone {
namespace {

struct SliderPlace {
    QRect track;   // twips on the panel
    int thumbTop;  // twips on the panel
};

constexpr int kThumbTwips = 100;
const SliderPlace kSpeakerPlace{{45, 120, 1485, 60}, 90};
const SliderPlace kMicrophonePlace{{45, 345, 1485, 60}, 350};
const char* const kReleaseSound = "ding.wav";

// A thin sunken track and a small dark square thumb with the skin's knob and a raised border;
// the thumb's centre travels from one end of the track to the other.
class LevelSliderStyle : public QProxyStyle {
public:
    LevelSliderStyle(QRect track, int thumbTop, int thumbSize)
        : track_(track), thumbTop_(thumbTop), thumbSize_(thumbSize) {}

    // Where the slider lies on the panel: the track and the whole travel of the thumb.
    QRect sliderGeometry() const {
        const QRect travel(track_.left() - thumbSize_ / 2, thumbTop_, track_.width() + thumbSize_,
                           thumbSize_);
        return travel.united(track_);
    }

    // Only the left button drags the thumb.
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_Slider_AbsoluteSetButtons) return Qt::NoButton;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_SliderLength) return thumbSize_;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        if (control != CC_Slider) return QProxyStyle::subControlRect(control, option, part, widget);
        const auto* slider = static_cast<const QStyleOptionSlider*>(option);
        const QPoint origin = sliderGeometry().topLeft();
        // QSlider maps the pointer over the groove less one thumb: the thumb's whole travel.
        if (part == SC_SliderGroove) return QRect(QPoint(0, 0), sliderGeometry().size());
        if (part == SC_SliderHandle) {
            const int left = sliderPositionFromValue(slider->minimum, slider->maximum,
                                                     slider->sliderPosition, track_.width());
            return QRect(left, thumbTop_ - origin.y(), thumbSize_, thumbSize_);
        }
        return {};
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        if (control != CC_Slider) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        drawTrack(painter, track_.translated(-sliderGeometry().topLeft()));
        drawThumb(painter, subControlRect(control, option, SC_SliderHandle, widget));
    }

private:
    static void drawTrack(QPainter* painter, QRect track) {
        const QColor face(0x9c, 0xa3, 0xaf);
        painter->fillRect(track, face);
        painter->setPen(face.darker(150));
        painter->drawLine(track.topLeft(), track.topRight());
        painter->drawLine(track.topLeft(), track.bottomLeft());
        painter->setPen(face.lighter(115));
        painter->drawLine(track.bottomLeft(), track.bottomRight());
    }

    static void drawThumb(QPainter* painter, QRect thumb) {
        painter->fillRect(thumb, QColor(0x40, 0x40, 0x40));
        const QPixmap knob = artPixmap(QStringLiteral("knob"));
        if (!knob.isNull()) {
            const QSize fit =
                knob.deviceIndependentSize().toSize().scaled(thumb.size(), Qt::KeepAspectRatio);
            const QPoint at(thumb.left() + (thumb.width() - fit.width()) / 2, thumb.top());
            // Unsmoothed, or the few pixels of the shrunk knob blur into the face.
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter->drawPixmap(QRect(at, fit), knob);
            painter->restore();
        }
        // The classic 3-D edge colours, whatever the desktop's palette: white and light grey
        // outside-in on the lit sides, black and dark grey on the shaded sides. The edge leaves
        // the thumb's last row and column bare.
        QPalette edge;
        edge.setColor(QPalette::Light, Qt::white);
        edge.setColor(QPalette::Midlight, QColor(0xc0, 0xc0, 0xc0));
        edge.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
        edge.setColor(QPalette::Shadow, Qt::black);
        const int side = kThumbTwips / kTwipsPerPixel;
        qDrawWinPanel(painter, QRect(thumb.topLeft(), QSize(side, side)), edge, false);
    }

    QRect track_;
    int thumbTop_;
    int thumbSize_;
};

QSlider* makeSlider(const SliderPlace& place, MixerLine line, MixerLevels& levels, QWidget* panel) {
    const QRect track =
        twipsRect(place.track.left(), place.track.top(), place.track.width(), place.track.height());
    auto* style =
        new LevelSliderStyle(track, twipsToPixels(place.thumbTop), twipsToPixels(kThumbTwips));
    auto* slider = new QSlider(Qt::Horizontal, panel);
    style->setParent(slider);
    slider->setStyle(style);
    slider->setGeometry(style->sliderGeometry());
    slider->setFocusPolicy(Qt::TabFocus);
    const MixerLevels::Range range = levels.levelRange(line);
    slider->setRange(range.minimum, range.maximum);
    slider->setValue(levels.level(line));
    slider->setVisible(levels.hasLevel(line));
    QObject::connect(slider, &QSlider::valueChanged, slider,
                     [&levels, line](int level) { levels.setLevel(line, level); });
    return slider;
}

}  // namespace

VolumeSliders::VolumeSliders(QWidget* panel, MixerLevels& levels)
    : QObject(panel),
      speakerSlider(makeSlider(kSpeakerPlace, MixerLine::Speaker, levels, panel)),
      microphoneSlider(makeSlider(kMicrophonePlace, MixerLine::Microphone, levels, panel)) {
    connect(speakerSlider, &QSlider::sliderReleased, this,
            [this] { emit releaseSoundWanted(soundFilePath(QLatin1String(kReleaseSound))); });
}

VolumeSliders::~VolumeSliders() {
    delete speakerSlider;
    delete microphoneSlider;
}

QString soundFilePath(const QString& name) {
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = QDir(installedDataFolder()).filePath(name);
    return QFileInfo::exists(installed) ? installed : beside;
}

}  // namespace softphone
