#include "platform/xwayland_choice.h"

#include <QtGlobal>

namespace vandrel {

namespace {
bool g_chosen = false;
}

bool ShouldUseXWayland(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                       const QByteArray& display) {
    return qpaPlatform.isEmpty() && !waylandDisplay.isEmpty() && !display.isEmpty();
}

bool PreferXWayland() {
    if (!ShouldUseXWayland(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                           qgetenv("DISPLAY")))
        return false;
    qputenv("QT_QPA_PLATFORM", "xcb");
    g_chosen = true;
    return true;
}

void ForgetXWaylandChoice() {
    if (!g_chosen) return;
    qunsetenv("QT_QPA_PLATFORM");
    g_chosen = false;
}

}  // namespace vandrel
