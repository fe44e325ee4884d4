// The textual pieces of one parameter list, worked out once per item and shared by every
// condition of every rule that tests it (a rule list of 20 rules would otherwise split and
// upper-case the same path dozens of times per item). Pure text: nothing is read from disk.
#pragma once

#include <QString>

#include "platform/upper_text.h"

namespace vandrel {

struct ParamParts {
    QString kind;  // as given ("file", "folder")
    QString path;
    bool isFile = false;     // kind is "FILE" in any case
    bool isFolder = false;   // kind is "FOLDER" in any case
    QString upperFileName;   // FileNamePart, upper-cased
    QString upperBaseName;   // BaseNamePart, upper-cased
    QString upperExtension;  // ExtensionPart, upper-cased

    // The whole path upper-cased; worked out on first use (few rules look at folders).
    const QString& upperPath() const {
        if (!upperPathDone_) {
            upperPath_ = UpperCased(path);
            upperPathDone_ = true;
        }
        return upperPath_;
    }

  private:
    friend const ParamParts& PartsOf(const QString& paramList);
    mutable QString upperPath_;
    mutable bool upperPathDone_ = false;
};

// The pieces of paramList. The reference stays valid until the next call on this thread.
const ParamParts& PartsOf(const QString& paramList);

}  // namespace vandrel
