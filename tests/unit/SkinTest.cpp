// Window skins: the outline a window takes from its picture, and the artwork itself.
#include <gtest/gtest.h>

#include <QWidget>
#include <vector>

#include "support/Skin.h"
#include "support/WindowShape.h"

namespace softphone {
namespace {

struct SkinCase {
    WindowSkin which;
    QSize size;
};

const SkinCase kSkins[] = {
    {WindowSkin::Handset, {292, 389}},
    {WindowSkin::Login, {216, 228}},
    {WindowSkin::PhoneBook, {280, 296}},
    {WindowSkin::RecentCalls, {216, 228}},
};

// Where the desktop does not composite (here: offscreen) the mask holds exactly the pixels
// that are not the key colour: holes inside included, the picture's last column too.
TEST(WindowShape, MaskHoldsEveryPixelButTheKeyColour) {
    QImage holed(7, 5, QImage::Format_RGB32);
    holed.fill(kSkinKeyColor);
    for (QPoint body : {QPoint(1, 1), QPoint(2, 1), QPoint(3, 1), QPoint(1, 2), QPoint(3, 2),
                        QPoint(6, 2), QPoint(1, 3), QPoint(2, 3), QPoint(3, 3)})
        holed.setPixel(body, qRgb(0x20, 0x30, 0x40));
    std::vector<QImage> pictures = {holed};
    for (const SkinCase& skin : kSkins) pictures.push_back(WindowSkinPicture(skin.which));
    for (const QImage& picture : pictures) {
        SCOPED_TRACE(picture.width());
        QWidget window(nullptr, Qt::FramelessWindowHint);
        ShapeWindowToPicture(&window, picture, QColor::fromRgb(kSkinKeyColor));
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
    for (const SkinCase& skin : kSkins) {
        SCOPED_TRACE(int(skin.which));
        const QImage logical = RenderWindowSkin(skin.which, 1);
        const QImage large = RenderWindowSkin(skin.which, 2);
        ASSERT_EQ(large.size(), skin.size * 2);
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

TEST(RealSkins, FacesHaveTheSizesOfTheirControls) {
    struct Face {
        const char* name;
        QSize size;
    };
    const Face faces[] = {
        {"dial-off", {39, 52}},  {"dial-on", {39, 52}},    {"end-off", {40, 51}},
        {"end-on", {40, 51}},    {"recent-off", {27, 23}}, {"recent-on", {27, 23}},
        {"book-off", {22, 21}},  {"book-on", {22, 21}},    {"wizard-off", {24, 23}},
        {"wizard-on", {24, 23}}, {"pin-off", {22, 23}},    {"pin-on", {22, 23}},
        {"clear-off", {38, 18}}, {"clear-on", {38, 18}},   {"back-off", {39, 18}},
        {"back-on", {39, 18}},   {"key-off", {48, 27}},    {"key-on", {48, 27}},
        {"close", {12, 12}},     {"hide", {12, 12}},       {"banner", {121, 18}},
        {"tray", {25, 33}},      {"speaker", {17, 17}},    {"mic", {17, 17}},
        {"signal", {15, 11}},    {"knob", {9, 14}},
    };
    for (const Face& face : faces) {
        SCOPED_TRACE(face.name);
        EXPECT_EQ(RenderArt(QLatin1String(face.name), 1).size(), face.size);
        EXPECT_EQ(RenderArt(QLatin1String(face.name), 2).size(), face.size * 2);
    }
}

TEST(RealSkins, LitAndNormalFacesDiffer) {
    for (const char* face : {"dial", "end", "recent", "book", "wizard", "pin", "clear", "back"}) {
        SCOPED_TRACE(face);
        EXPECT_NE(RenderArt(QLatin1String(face) + "-off", 1),
                  RenderArt(QLatin1String(face) + "-on", 1));
    }
    EXPECT_NE(RenderArt("key-off", 1, "5"), RenderArt("key-off", 1, "6"))
        << "keys show their character";
}

}  // namespace
}  // namespace softphone
