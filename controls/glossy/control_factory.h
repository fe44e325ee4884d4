// Creates a glossy control from its class identifier, the library name, a dot and the class
// name ("Vitreon.AquaButton"), as the program's windows name the controls they place.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "vitreon_api.h"

namespace vitreon {

// The new control with its defaults, or null when no control has that identifier (the
// identifier is compared exactly).
VITREON_API std::unique_ptr<QWidget> CreateControl(const QString& classId);
// Every identifier CreateControl knows, in the library's order.
VITREON_API QStringList ControlClassIds();

}  // namespace vitreon
