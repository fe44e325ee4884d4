// On a Wayland session the basket runs through XWayland: Wayland lets no window choose
// its place on the screen or stay above the others, and the basket needs both (it comes
// back where the user left it and floats over every window). Qt's xcb platform under
// XWayland does both. A user who sets QT_QPA_PLATFORM keeps that choice. Call from main
// only, before and after the QApplication is made.
#pragma once

#include <QByteArray>

namespace vandrel {

// Whether to choose xcb: a Wayland session (waylandDisplay set) with an X server at hand
// (display set) and no platform chosen by the user (qpaPlatform empty).
bool ShouldUseXWayland(const QByteArray& qpaPlatform, const QByteArray& waylandDisplay,
                       const QByteArray& display);

// Before the QApplication: sets QT_QPA_PLATFORM=xcb when ShouldUseXWayland says so for
// this process's environment; returns whether it did.
bool PreferXWayland();

// After the QApplication: takes the choice out of the environment again, so programs
// Vandrel starts (openers, "Run Program" actions) get the session's own platform.
void ForgetXWaylandChoice();

}  // namespace vandrel
