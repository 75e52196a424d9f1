#include "player/playerpointer.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

namespace playerpointer {

bool leftButtonHeld()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            xcb_connection_t *c = x11->connection();
            if (c) {
                xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
                if (screen) {
                    auto cookie = xcb_query_pointer(c, screen->root);
                    if (xcb_query_pointer_reply_t *r = xcb_query_pointer_reply(c, cookie, nullptr)) {
                        const bool down = (r->mask & XCB_BUTTON_MASK_1) != 0;
                        free(r);
                        return down;
                    }
                }
            }
        }
    }
    return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
}

} // namespace playerpointer
