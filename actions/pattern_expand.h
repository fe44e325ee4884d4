// Turning a naming pattern into text for one item: the name of a rename, the subfolder
// of a move or copy, and the argument list of the run action. Pure functions apart from
// the attribute reads.
#pragma once

#include <QString>
#include <QStringList>

namespace vandrel {

class AttributeHelper;

// Literal text is taken as typed; each attribute token is replaced by the attribute's
// value for path, made safe for one file name: the characters \ / : * ? < > | " become
// "-", and a value that is exactly "." or ".." becomes "-" so it cannot name the folder
// or its parent. attributes null: every token gives the empty text.
QString ExpandPattern(const QString& pattern, const QString& path, AttributeHelper* attributes);

// One attribute value as it goes into a name (the sanitising step of ExpandPattern).
QString SafeNameValue(const QString& value);

// The arguments of the run action: the pattern's literal text is split into words the
// way a POSIX shell splits them (blanks separate words, single quotes keep everything,
// double quotes keep everything but \" \\ \$ \`, a backslash outside quotes escapes the
// next character; no variables, globs or command substitution), and every "filepath"
// token puts itemPath into the current word verbatim, whatever characters the path holds.
// Other tokens contribute nothing. An unclosed quote ends at the end of the pattern.
QStringList SplitRunArguments(const QString& pattern, const QString& itemPath);

}  // namespace vandrel
