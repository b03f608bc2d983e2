#include "support/WindowShape.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <memory>

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
    // On X11 a mask would also cut the picture's soft edge back to whole pixels.
    if (desktopComposites() && !wayland)
        window->clearMask();
    else
        window->setMask(outline);
}

}  // namespace softphone
