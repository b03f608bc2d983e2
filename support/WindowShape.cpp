#include "support/WindowShape.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <vector>

namespace softphone {
namespace {

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

// A compositing manager owns the selection _NET_WM_CM_S<screen> of the screen it serves.
bool x11CompositingManagerRuns() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* connection = x11->connection();
    char* host = nullptr;
    int display = 0, screen = 0;
    xcb_parse_display(nullptr, &host, &display, &screen);
    std::free(host);
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, true, name.size(), name.constData()), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom),
                                      nullptr),
        &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

// Clicks land only inside `outline`, in the window's logical pixels; what it draws is left whole.
// Qt has no call for an input region alone on X11 (its mask also cuts what the window draws),
// so the SHAPE extension's input kind is set on the native window.
void setX11InputShape(QWidget* window, const QRegion& outline) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    const qreal scale = window->devicePixelRatioF();
    std::vector<xcb_rectangle_t> rectangles;
    for (const QRect& r : outline) {
        const QRect device(
            QPoint(qRound(r.left() * scale), qRound(r.top() * scale)),
            QPoint(qRound((r.right() + 1) * scale) - 1, qRound((r.bottom() + 1) * scale) - 1));
        rectangles.push_back({qint16(device.x()), qint16(device.y()), quint16(device.width()),
                              quint16(device.height())});
    }
    xcb_shape_rectangles(x11->connection(), XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                         XCB_CLIP_ORDERING_UNSORTED, xcb_window_t(window->winId()), 0, 0,
                         uint32_t(rectangles.size()), rectangles.data());
    xcb_flush(x11->connection());
}

}  // namespace

bool desktopComposites() {
    static const bool composites =
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
        (QGuiApplication::platformName() == QLatin1String("xcb") && x11CompositingManagerRuns());
    return composites;
}

void shapeWindowToPicture(QWidget* window, const QImage& picture, QColor key) {
    // The key's pixels become the bitmap's clear bits, which the region leaves out.
    const QRegion outline(
        QBitmap::fromImage(picture.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (desktopComposites()) window->setAttribute(Qt::WA_TranslucentBackground);
    // On X11 a mask would also cut the picture's soft edge back to whole pixels: only the input
    // follows the outline there.
    if (desktopComposites() && !wayland) {
        window->clearMask();
        setX11InputShape(window, outline);
    } else {
        window->setMask(outline);
    }
}

}  // namespace softphone
