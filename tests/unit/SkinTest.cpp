// Window skins: the outline a window takes from its picture, and the artwork itself.
#include <gtest/gtest.h>

#include <QWidget>

#include "support/Skin.h"
#include "support/WindowShape.h"

namespace softphone {
namespace {

const WindowSkin kSkins[] = {WindowSkin::Handset, WindowSkin::Login, WindowSkin::PhoneBook,
                             WindowSkin::RecentCalls};

bool isKey(const QImage& picture, int x, int y) { return picture.pixel(x, y) == kSkinKeyColor; }

// Where the desktop does not composite (here: offscreen) the mask holds exactly the pixels
// that are not the key colour: holes inside included, the picture's last column too.
TEST(WindowShape, MaskHoldsEveryPixelButTheKeyColour) {
    QImage holed(7, 5, QImage::Format_RGB32);
    holed.fill(kSkinKeyColor);
    for (QPoint body : {QPoint(1, 1), QPoint(2, 1), QPoint(3, 1), QPoint(1, 2), QPoint(3, 2),
                        QPoint(6, 2), QPoint(1, 3), QPoint(2, 3), QPoint(3, 3)})
        holed.setPixel(body, qRgb(0x20, 0x30, 0x40));
    QList<QImage> pictures = {holed};
    for (WindowSkin skin : kSkins) pictures.push_back(windowSkinPicture(skin));
    for (const QImage& picture : pictures) {
        SCOPED_TRACE(picture.width());
        QWidget window(nullptr, Qt::FramelessWindowHint);
        shapeWindowToPicture(&window, picture, QColor::fromRgb(kSkinKeyColor));
        EXPECT_FALSE(window.testAttribute(Qt::WA_TranslucentBackground));
        int wrong = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                wrong += window.mask().contains(QPoint(x, y)) == isKey(picture, x, y);
        EXPECT_EQ(wrong, 0);
    }
}

// At twice the size a skin keeps its outline, opaque inside it; each button's face changes when
// lit, and each key shows its character.
TEST(RealSkins, TwiceSizeFollowsTheOutlineAndFacesShowTheirState) {
    for (WindowSkin skin : kSkins) {
        SCOPED_TRACE(int(skin));
        const QImage logical = renderWindowSkin(skin, 1), large = renderWindowSkin(skin, 2);
        ASSERT_EQ(large.size(), logical.size() * 2);
        int wrong = 0;
        for (int y = 0; y < large.height(); ++y)
            for (int x = 0; x < large.width(); ++x)
                wrong += isKey(large, x, y)
                             ? !isKey(logical, x / 2, y / 2)
                             : isKey(logical, x / 2, y / 2) || qAlpha(large.pixel(x, y)) != 255;
        EXPECT_EQ(wrong, 0);
    }
    for (QString face : {"dial", "end", "recent", "book", "wizard", "pin", "clear", "back"})
        EXPECT_NE(renderArt(face + "-off", 1), renderArt(face + "-on", 1)) << face.toStdString();
    EXPECT_NE(renderArt("key-off", 1, "5"), renderArt("key-off", 1, "6"));
}

}  // namespace
}  // namespace softphone
