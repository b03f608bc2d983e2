#include "support/Skin.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <functional>

#include "support/WindowDrag.h"
#include "support/WindowShape.h"

namespace softphone {
namespace {

QString windowSkinName(WindowSkin which) {
    switch (which) {
        case WindowSkin::Handset: return QStringLiteral("handset");
        case WindowSkin::Login: return QStringLiteral("login");
        case WindowSkin::PhoneBook: return QStringLiteral("phonebook");
        case WindowSkin::RecentCalls: return QStringLiteral("recent");
    }
    return {};
}

// The dialogs' controls in the skin's colours.
constexpr char kDialogControls[] = R"(
QLabel, QCheckBox { color: #ffffff; background: transparent; }
QLineEdit, QListView {
    background: #f4f8fb; color: #10161f; border: 1px solid #07090c; border-radius: 3px;
    selection-background-color: #1b78b5; selection-color: #ffffff; }
QLineEdit { padding: 0 3px; }
QPushButton {
    color: #ffffff; font-weight: bold; border: 1px solid #0b3553; border-radius: 5px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4fc3f7, stop:1 #1769aa); }
QPushButton:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #8fe3ff, stop:1 #2290b8); }
QPushButton:pressed { background: #0f4c75; }
QPushButton:disabled { color: #9aa6b6; background: #3a414e; border-color: #262c37; }
QCheckBox::indicator {
    width: 12px; height: 12px; border: 1px solid #07090c; border-radius: 3px;
    background: #f4f8fb; }
QCheckBox::indicator:checked { background: #1b78b5; image: url(:/skin/check.svg); }
)";

QRgb opaque(QRgb premultiplied) {
    const QRgb plain = qUnpremultiply(premultiplied) | 0xFF000000;
    // A body pixel must never read as the key, or the cut would punch a hole there.
    return plain == kSkinKeyColor ? qRgb(254, 0, 255) : plain;
}

QImage keyCut(const QImage& rendered) {
    QImage out(rendered.size(), QImage::Format_RGB32);
    for (int y = 0; y < rendered.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rendered.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < rendered.width(); ++x)
            line[x] = qAlpha(in[x]) < 128 ? kSkinKeyColor : opaque(in[x]);
    }
    return out;
}

// The large picture follows the outline of the logical one exactly: inside it, soft edge pixels
// are laid over the logical pixel they belong to; outside, everything is key.
QImage keyCutLike(const QImage& rendered, const QImage& logical, int scale) {
    QImage out(rendered.size(), QImage::Format_RGB32);
    for (int y = 0; y < rendered.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rendered.constScanLine(y));
        const auto* base = reinterpret_cast<const QRgb*>(logical.constScanLine(y / scale));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < rendered.width(); ++x) {
            const QRgb under = base[x / scale];
            if (under == kSkinKeyColor) {
                line[x] = kSkinKeyColor;
                continue;
            }
            const int a = qAlpha(in[x]);
            auto mix = [&](int top, int bottom) { return top + bottom * (255 - a) / 255; };
            line[x] = opaque(qRgb(mix(qRed(in[x]), qRed(under)), mix(qGreen(in[x]), qGreen(under)),
                                  mix(qBlue(in[x]), qBlue(under))));
        }
    }
    return out;
}

QPixmap atScale(const QImage& image, int scale) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

// Rendered once and kept in Qt's pixmap cache, which goes with the application.
QPixmap cached(const QString& id, const std::function<QPixmap()>& make) {
    QPixmap pixmap;
    if (!QPixmapCache::find(id, &pixmap)) {
        pixmap = make();
        QPixmapCache::insert(id, pixmap);
    }
    return pixmap;
}

}  // namespace

QImage renderArt(const QString& name, int scale, const QString& key) {
    QFile file(QStringLiteral(":/skin/%1.svg").arg(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray svg = file.readAll();
    if (!key.isNull()) svg.replace("@KEY@", key.toHtmlEscaped().toUtf8());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return {};
    QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter);
    return image;
}

QImage renderWindowSkin(WindowSkin which, int scale) {
    const QImage logical = keyCut(renderArt(windowSkinName(which), 1));
    if (scale == 1) return logical;
    return keyCutLike(renderArt(windowSkinName(which), scale), logical, scale);
}

int skinScale() { return qGuiApp && qGuiApp->devicePixelRatio() >= 1.5 ? 2 : 1; }

QImage windowSkinPicture(WindowSkin which) {
    static QHash<int, QImage> pictures;
    auto it = pictures.find(int(which));
    if (it == pictures.end()) it = pictures.insert(int(which), renderWindowSkin(which, 1));
    return *it;
}

QPixmap windowSkinPixmap(WindowSkin which) {
    const int scale = skinScale();
    if (desktopComposites())
        return cached(QStringLiteral("window/%1/%2/soft").arg(int(which)).arg(scale),
                      [&] { return atScale(renderArt(windowSkinName(which), scale), scale); });
    return cached(QStringLiteral("window/%1/%2").arg(int(which)).arg(scale), [&] {
        return atScale(scale == 1 ? windowSkinPicture(which) : renderWindowSkin(which, scale),
                       scale);
    });
}

QPixmap artPixmap(const QString& name) {
    const int scale = skinScale();
    return cached(QStringLiteral("art/%1/%2").arg(name).arg(scale),
                  [&] { return atScale(renderArt(name, scale), scale); });
}

QPixmap dialKeyPixmap(const QString& key, bool lit) {
    const int scale = skinScale();
    const QString face = lit ? QStringLiteral("key-on") : QStringLiteral("key-off");
    return cached(QStringLiteral("key/%1/%2/%3").arg(face, key).arg(scale),
                  [&] { return atScale(renderArt(face, scale, key), scale); });
}

void applyDialogSkin(QWidget* dialog, WindowSkin which) {
    const QImage picture = windowSkinPicture(which);
    dialog->setWindowFlag(Qt::FramelessWindowHint);
    dialog->setFixedSize(picture.size());
    auto* background = new QLabel(dialog);
    background->setObjectName(QStringLiteral("skinLabel"));
    background->setGeometry(QRect(QPoint(0, 0), picture.size()));
    background->setPixmap(windowSkinPixmap(which));
    background->lower();
    new WindowDrag(background, dialog);
    dialog->setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    dialog->setStyleSheet(QLatin1String(kDialogControls));
    shapeWindowToPicture(dialog, picture, QColor::fromRgb(kSkinKeyColor));
}

}  // namespace softphone
