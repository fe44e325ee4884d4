// Upper-casing of names and paths, asked for by the conditions for every item they test.
// The result is exactly QString::toUpper's; plain ASCII text, the common case, is done
// without Qt's per-character Unicode lookup. Pure text, any thread.
#pragma once

#include <QString>

namespace vandrel {

// text.toUpper(), quicker for ASCII text; unchanged text comes back shared, not copied.
QString UpperCased(const QString& text);

}  // namespace vandrel
