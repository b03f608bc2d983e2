// Window skins: the outline a window takes from its picture, and the artwork itself.
#include <gtest/gtest.h>

#include <QWidget>

#include "support/Skin.h"
#include "support/WindowShape.h"

namespace softphone {
namespace {

const WindowSkin kSkins[] = {WindowSkin::Handset, WindowSkin::Login, WindowSkin::PhoneBook,
                             WindowSkin::RecentCalls};

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
                wrong +=
                    window.mask().contains(QPoint(x, y)) == (picture.pixel(x, y) == kSkinKeyColor);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(RealSkins, TwiceSizeFollowsTheLogicalOutline) {
    for (WindowSkin skin : kSkins) {
        SCOPED_TRACE(int(skin));
        const QImage logical = renderWindowSkin(skin, 1);
        const QImage large = renderWindowSkin(skin, 2);
        ASSERT_EQ(large.size(), logical.size() * 2);
        int mismatches = 0;
        for (int y = 0; y < large.height(); ++y)
            for (int x = 0; x < large.width(); ++x) {
                const bool keyLarge = large.pixel(x, y) == kSkinKeyColor;
                const bool keyLogical = logical.pixel(x / 2, y / 2) == kSkinKeyColor;
                mismatches += keyLarge != keyLogical;
                if (!keyLarge) mismatches += qAlpha(large.pixel(x, y)) != 255;
            }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(RealSkins, LitAndNormalFacesDiffer) {
    for (const char* face : {"dial", "end", "recent", "book", "wizard", "pin", "clear", "back"}) {
        SCOPED_TRACE(face);
        EXPECT_NE(renderArt(QLatin1String(face) + "-off", 1),
                  renderArt(QLatin1String(face) + "-on", 1));
    }
    EXPECT_NE(renderArt("key-off", 1, "5"), renderArt("key-off", 1, "6"))
        << "keys show their character";
}

}  // namespace
}  // namespace softphone
