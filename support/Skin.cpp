#include "support/Skin.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>
#include <functional>

#include "support/WindowDrag.h"
#include "support/WindowShape.h"

namespace softphone {
namespace {

QString WindowSkinName(WindowSkin which) {
    switch (which) {
        case WindowSkin::Handset:
            return QStringLiteral("handset");
        case WindowSkin::Login:
            return QStringLiteral("login");
        case WindowSkin::PhoneBook:
            return QStringLiteral("phonebook");
        case WindowSkin::RecentCalls:
            return QStringLiteral("recent");
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

QRgb Opaque(QRgb premultiplied) {
    const QRgb plain = qUnpremultiply(premultiplied) | 0xFF000000;
    // A body pixel must never read as the key, or the cut would punch a hole there.
    return plain == kSkinKeyColor ? qRgb(254, 0, 255) : plain;
}

QImage KeyCut(const QImage& rendered) {
    QImage out(rendered.size(), QImage::Format_RGB32);
    for (int y = 0; y < rendered.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rendered.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < rendered.width(); ++x)
            line[x] = qAlpha(in[x]) < 128 ? kSkinKeyColor : Opaque(in[x]);
    }
    return out;
}

// The large picture follows the outline of the logical one exactly: inside it, soft edge pixels
// are laid over the logical pixel they belong to; outside, everything is key.
QImage KeyCutLike(const QImage& rendered, const QImage& logical, int scale) {
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
            line[x] = Opaque(qRgb(mix(qRed(in[x]), qRed(under)), mix(qGreen(in[x]), qGreen(under)),
                                  mix(qBlue(in[x]), qBlue(under))));
        }
    }
    return out;
}

QPixmap AtScale(const QImage& image, int scale) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QPixmap Cached(const QString& id, const std::function<QPixmap()>& make) {
    static QHash<QString, QPixmap> cache;
    auto it = cache.find(id);
    if (it == cache.end()) it = cache.insert(id, make());
    return *it;
}

}  // namespace

QImage RenderArt(const QString& name, int scale, const QString& key) {
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

QImage RenderWindowSkin(WindowSkin which, int scale) {
    const QImage logical = KeyCut(RenderArt(WindowSkinName(which), 1));
    if (scale == 1) return logical;
    return KeyCutLike(RenderArt(WindowSkinName(which), scale), logical, scale);
}

int SkinScale() {
    return qGuiApp && qGuiApp->devicePixelRatio() >= 1.5 ? 2 : 1;
}

QImage WindowSkinPicture(WindowSkin which) {
    static QHash<int, QImage> pictures;
    auto it = pictures.find(int(which));
    if (it == pictures.end()) it = pictures.insert(int(which), RenderWindowSkin(which, 1));
    return *it;
}

QPixmap WindowSkinPixmap(WindowSkin which) {
    const int scale = SkinScale();
    if (DesktopComposites())
        return Cached(QStringLiteral("window/%1/%2/soft").arg(int(which)).arg(scale),
                      [&] { return AtScale(RenderArt(WindowSkinName(which), scale), scale); });
    return Cached(QStringLiteral("window/%1/%2").arg(int(which)).arg(scale), [&] {
        return AtScale(scale == 1 ? WindowSkinPicture(which) : RenderWindowSkin(which, scale),
                       scale);
    });
}

QPixmap ArtPixmap(const QString& name) {
    const int scale = SkinScale();
    return Cached(QStringLiteral("art/%1/%2").arg(name).arg(scale),
                  [&] { return AtScale(RenderArt(name, scale), scale); });
}

QPixmap DialKeyPixmap(const QString& key, bool lit) {
    const int scale = SkinScale();
    const QString face = lit ? QStringLiteral("key-on") : QStringLiteral("key-off");
    return Cached(QStringLiteral("key/%1/%2/%3").arg(face, key).arg(scale),
                  [&] { return AtScale(RenderArt(face, scale, key), scale); });
}

void ApplyDialogSkin(QWidget* dialog, WindowSkin which) {
    const QImage picture = WindowSkinPicture(which);
    dialog->setWindowFlag(Qt::FramelessWindowHint);
    dialog->setFixedSize(picture.size());
    auto* background = new QLabel(dialog);
    background->setObjectName(QStringLiteral("skinLabel"));
    background->setGeometry(QRect(QPoint(0, 0), picture.size()));
    background->setPixmap(WindowSkinPixmap(which));
    background->lower();
    new WindowDrag(background, dialog);
    dialog->setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    dialog->setStyleSheet(QLatin1String(kDialogControls));
    ShapeWindowToPicture(dialog, picture, QColor::fromRgb(kSkinKeyColor));
}

}  // namespace softphone
