// Renders the program's icon from its artwork: a square PNG per size and a square SVG, each
// with the picture centred and its proportions kept.
//   softphone_icon ARTWORK.svg OUTPUT-FOLDER SIZE...
// writes OUTPUT-FOLDER/<size>x<size>/softphone.png and OUTPUT-FOLDER/scalable/softphone.svg.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool writePng(QSvgRenderer& art, int size, const QString& path) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    const QSizeF fit = art.viewBoxF().size().scaled(size, size, Qt::KeepAspectRatio);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    art.render(&painter, QRectF(QPointF((size - fit.width()) / 2, (size - fit.height()) / 2), fit));
    painter.end();
    return QDir().mkpath(QFileInfo(path).path()) && icon.save(path, "PNG");
}

// The artwork's own text with a square view box around its picture.
bool writeSquareSvg(const QByteArray& text, const QRectF& box, const QString& path) {
    const qreal side = qMax(box.width(), box.height());
    const QString square = QStringLiteral(R"(width="%1" height="%1" viewBox="%2 %3 %1 %1")")
                               .arg(side)
                               .arg(box.x() - (side - box.width()) / 2)
                               .arg(box.y() - (side - box.height()) / 2);
    QString svg = QString::fromUtf8(text);
    const QRegularExpression root(
        R"((<svg\b[^>]*?)\s+width="[^"]*"\s+height="[^"]*"\s+viewBox="[^"]*")");
    if (!root.match(svg).hasMatch()) return false;
    svg.replace(root, QStringLiteral("\\1 ") + square);
    QFile out(path);
    return QDir().mkpath(QFileInfo(path).path()) && out.open(QIODevice::WriteOnly) &&
           out.write(svg.toUtf8()) > 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ARTWORK.svg OUTPUT-FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) return 1;
    const QByteArray text = source.readAll();
    QSvgRenderer art(text);
    if (!art.isValid()) return 1;
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder = QStringLiteral("%1x%1").arg(size);
        if (size <= 0 || !writePng(art, size, out.filePath(folder + "/softphone.png"))) return 1;
    }
    return writeSquareSvg(text, art.viewBoxF(), out.filePath("scalable/softphone.svg")) ? 0 : 1;
}
