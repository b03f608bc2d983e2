#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

class QWidget;

namespace softphone {

// The colour around the windows' outlines; it never occurs inside them.
inline constexpr QRgb kSkinKeyColor = 0xFFFF00FF;

enum class WindowSkin { Handset, Login, PhoneBook, RecentCalls };

// A window's background in logical pixels (scale 1) or twice that, every pixel either the key
// colour or opaque, so that cutting away the key colour leaves no coloured fringe.
QImage renderWindowSkin(WindowSkin which, int scale);
// A button face or icon from resources/skin with soft (alpha) edges; `key` replaces the dial
// key marker.
QImage renderArt(const QString& name, int scale, const QString& key = {});

// 2 on high-DPI screens, else 1.
int skinScale();
// Ready to draw at the screen's pixel ratio; rendered once and kept. A window's background
// keeps the artwork's soft edge where the desktop composites, else it is cut on the key colour.
QPixmap windowSkinPixmap(WindowSkin which);
QPixmap artPixmap(const QString& name);
QPixmap dialKeyPixmap(const QString& key, bool lit);
// The logical-pixel picture, cut on the key colour, that a window's outline is taken from.
QImage windowSkinPicture(WindowSkin which);

// Gives a dialog its skin: frameless, the picture's size, the background picture box
// "skinLabel" under its controls, the window cut to the picture, draggable by the picture.
void applyDialogSkin(QWidget* dialog, WindowSkin which);

}  // namespace softphone
