// Window shapes from pictures: the run rule, the frame offset, the rounded window, and the real
// skins cut without fringe or loss.
#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>
#include <string>
#include <vector>

#include "support/Region.h"
#include "support/Skin.h"
#include "support/modShape.h"

namespace softphone {
namespace {

constexpr QRgb kKey = 0xFFFF00FF;
constexpr QRgb kBody = 0xFF203040;
constexpr QRgb kGreenKey = 0xFF00FF00;

// '.' key colour, 'g' green, anything else body colour; row 0 is the picture's top row.
QImage Picture(const std::vector<std::string>& rows) {
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const char c = rows[size_t(y)][size_t(x)];
            image.setPixel(x, y, c == '.' ? kKey : c == 'g' ? kGreenKey : kBody);
        }
    return image;
}

// The pixels the region covers, drawn as '#' on '.'.
std::vector<std::string> Covered(const QRegion& region, QSize size) {
    std::vector<std::string> rows(size_t(size.height()), std::string(size_t(size.width()), '.'));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (region.contains(QPoint(x, y))) rows[size_t(y)][size_t(x)] = '#';
    return rows;
}

struct ScanCase {
    const char* name;
    std::vector<std::string> picture;
    ColorValue keyIn;
    ColorValue keyOut;
    std::vector<std::string> covered;
    int runs;
};

// Each picture row on its own line.
// clang-format off
const ScanCase kScanCases[] = {
    {"rounded shape with a hole, key from the picture",
     {".......",
      "..###..",
      ".##.##.",
      ".#####.",
      "..###..",
      "......."},
     kKeyFromPicture, 0xFF00FF,
     {".......",
      "..###..",
      ".##.##.",
      ".#####.",
      "..###..",
      "......."},
     5},
    {"a key row adds nothing",
     {"###.",
      "....",
      ".##."},
     kKeyFromPicture, 0xFF00FF,
     {"###.",
      "....",
      ".##."},
     2},
    {"the first stored pixel is the picture's bottom-left one",
     {"##..",
      "#..."},
     kKeyFromPicture, 0x203040,
     {"..#.",
      ".##."},
     2},
    {"an opaque row stops before the last column",
     {"......",
      "######",
      "......"},
     0xFF00FF, 0xFF00FF,
     {"......",
      "#####.",
      "......"},
     1},
    {"the last column never belongs to the shape",
     {"..####",
      ".#####",
      "######"},
     0xFF00FF, 0xFF00FF,
     {"..###.",
      ".####.",
      "#####."},
     3},
    {"a given key is used and left unchanged",
     {"g###g",
      "g#.#g",
      "ggggg"},
     0x00FF00, 0x00FF00,
     {".###.",
      ".###.",
      "....."},
     2},
    {"runs split at every key pixel",
     {"#.#.##.",
      "......."},
     kKeyFromPicture, 0xFF00FF,
     {"#.#.##.",
      "......."},
     3},
};
// clang-format on

TEST(RegionScan, RunRule) {
    for (const ScanCase& c : kScanCases) {
        SCOPED_TRACE(c.name);
        const QImage picture = Picture(c.picture);
        Region region;
        ColorValue key = c.keyIn;
        region.ScanPicture(picture, key);
        EXPECT_EQ(key, c.keyOut);
        EXPECT_EQ(Covered(region.hndRegion, picture.size()), c.covered);
        EXPECT_EQ(region.hndRegion.rectCount(), c.runs) << "one rectangle per run";
    }
}

TEST(RegionScan, StoredPixelsAreBottomUpBlueGreenRed) {
    QImage picture(5, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(0, 1, qRgb(0x11, 0x22, 0x33));  // bottom-left
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.BytesPerScanLine(), 16);  // 15 bytes padded to 4
    const uchar* first = dib.DIBSectionBitsPtr();
    EXPECT_EQ(first[0], 0x33);
    EXPECT_EQ(first[1], 0x22);
    EXPECT_EQ(first[2], 0x11);
    EXPECT_EQ(first[dib.BytesPerScanLine()], 3) << "the second stored row is the top row";
}

TEST(RegionScan, NoPictureLeavesAnEmptyShape) {
    Region region;
    ColorValue key = kKeyFromPicture;
    region.ScanPicture(QImage(), key);
    EXPECT_TRUE(region.hndRegion.isEmpty());
    EXPECT_EQ(key, kKeyFromPicture);
}

TEST(RegionOffset, FrameWithCaptionMovesTheShapeOntoTheClientArea) {
    EXPECT_EQ(FrameOffset(QSize(108, 127), QSize(100, 100)), QPoint(4, 23));
    EXPECT_EQ(FrameOffset(QSize(100, 100), QSize(100, 100)), QPoint(0, 0));
    EXPECT_EQ(FrameOffset(QSize(109, 130), QSize(100, 100)), QPoint(4, 26)) << "halves to even";
}

TEST(RegionOffset, FramelessWindowKeepsTheShapeUnshifted) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(50, 40);
    Region region;
    region.hndRegion = QRegion(1, 2, 3, 4);
    region.OffsetHeader(&window);
    region.ApplyRgn(&window);
    EXPECT_EQ(window.mask(), QRegion(1, 2, 3, 4));
}

TEST(RoundWindow, ClipsInsideTheStartUpSize) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(297, 436);  // 4450 x 6540 twips
    RoundWindow(&window);
    const QRegion mask = window.mask();
    EXPECT_EQ(mask.boundingRect(), QRect(QPoint(10, 10), QPoint(296, 390)));
    struct Probe {
        QPoint at;
        bool inside;
    };
    const Probe probes[] = {
        {{10, 10}, false}, {{296, 10}, false}, {{10, 390}, false},  {{296, 390}, false},
        {{9, 200}, false}, {{10, 200}, true},  {{296, 200}, true},  {{297, 200}, false},
        {{153, 10}, true}, {{153, 390}, true}, {{153, 391}, false}, {{85, 10}, true},
        {{20, 20}, false}, {{40, 40}, true},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(mask.contains(p.at), p.inside) << p.at.x() << "," << p.at.y();
}

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

TEST(RealSkins, RegionHoldsTheWholeBodyAndNoKeyColour) {
    for (const SkinCase& skin : kSkins) {
        SCOPED_TRACE(int(skin.which));
        const QImage picture = RenderWindowSkin(skin.which, 1);
        ASSERT_EQ(picture.size(), skin.size);
        ASSERT_EQ(picture.pixel(0, picture.height() - 1), kSkinKeyColor);
        Region region;
        ColorValue key = kKeyFromPicture;
        region.ScanPicture(picture, key);
        EXPECT_EQ(key, kSkinKeyColor & 0xFFFFFF);
        qint64 opaque = 0, inside = 0, keyInside = 0, bodyOutside = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const bool isKey = picture.pixel(x, y) == kSkinKeyColor;
                const bool in = region.hndRegion.contains(QPoint(x, y));
                opaque += !isKey;
                inside += in;
                keyInside += in && isKey;
                bodyOutside += !in && !isKey;
            }
        EXPECT_EQ(keyInside, 0);
        EXPECT_EQ(bodyOutside, 0) << "none of the body is cut away";
        EXPECT_EQ(inside, opaque);
        EXPECT_GT(opaque, picture.width() * picture.height() / 2);
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
