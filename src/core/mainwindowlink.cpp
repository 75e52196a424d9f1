#include "core/mainwindowlink.h"

namespace {
MainWindowLink *registered = nullptr;
}

namespace mdlMavrell {
MainWindowLink *mainWindowLink() { return registered; }
void setMainWindowLink(MainWindowLink *link) { registered = link; }

void stopFunEffect()
{
    if (registered)
        registered->stopFunEffect();
}
} // namespace mdlMavrell
