// The textual pieces of one parameter list, worked out once per item and shared by every
// condition of every rule that tests it (a rule list of 20 rules would otherwise split and
// upper-case the same path dozens of times per item). Pure text: nothing is read from disk.
#pragma once

#include <QString>

namespace vandrel {

struct ParamParts {
    QString kind;       // as given ("file", "folder")
    QString path;
    bool isFile = false;    // kind is "FILE" in any case
    bool isFolder = false;  // kind is "FOLDER" in any case
    QString upperPath;
    QString upperFileName;   // FileNamePart, upper-cased
    QString upperBaseName;   // BaseNamePart, upper-cased
    QString upperExtension;  // ExtensionPart, upper-cased
};

// The pieces of paramList. The reference stays valid until the next call on this thread.
const ParamParts& PartsOf(const QString& paramList);

}  // namespace vandrel
