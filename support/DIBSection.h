#pragma once

#include <QImage>

namespace softphone {

// A 24-bit picture whose pixel memory can be read directly: three bytes per pixel in the order
// blue, green, red, rows padded to four bytes and stored bottom-up (the first stored row is the
// picture's bottom row).
class cDIBSection {
  public:
    // Makes an empty picture of the given size; false when there is none.
    bool Create(int lWidth, int lHeight);
    // Copies `picThis` whole into a picture of its own size.
    void CreateFromPicture(const QImage& picThis);
    // Copies from `source` at (lSrcLeft, lSrcTop) to (0, 0); a negative width or height means
    // the whole width or height of this picture.
    void LoadPictureBlt(const QImage& source, int lSrcLeft = 0, int lSrcTop = 0, int lSrcWidth = -1,
                        int lSrcHeight = -1);

    int BytesPerScanLine() const { return (Width() * 3 + 3) & ~3; }
    int Width() const { return bits_.width(); }
    int Height() const { return bits_.height(); }
    const uchar* DIBSectionBitsPtr() const { return bits_.isNull() ? nullptr : bits_.constBits(); }
    void ClearUp() { bits_ = QImage(); }

  private:
    // Scan line r of this image is stored row r, i.e. picture row Height() - 1 - r.
    QImage bits_;
};

}  // namespace softphone
