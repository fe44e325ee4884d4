#include "rules/param_parts.h"

#include "platform/path_text.h"
#include "platform/upper_text.h"
#include "rules/rule_text.h"

namespace vandrel {

const ParamParts& PartsOf(const QString& paramList) {
    // One remembered list per thread: conditions of one item are asked back to back.
    thread_local QString lastList;
    thread_local bool valid = false;
    thread_local ParamParts parts;
    // The same list object is passed from condition to condition: sharing its data is
    // enough to know it is the same text.
    if (valid && (paramList.isSharedWith(lastList) || paramList == lastList)) return parts;
    lastList = paramList;
    valid = true;
    // As ParamKind and ParamPath split it, with one search for the separator.
    const QStringView sep(kParamSep);
    const qsizetype at = paramList.indexOf(sep);
    parts.kind = at < 0 ? paramList : paramList.left(at);
    parts.path = at < 0 ? QString() : paramList.mid(at + sep.size());
    parts.isFile = EqualsUpper(parts.kind, QLatin1String("FILE"));
    parts.isFolder = EqualsUpper(parts.kind, QLatin1String("FOLDER"));
    parts.upperPath_.clear();
    parts.upperPathDone_ = false;
    // Upper-casing works letter by letter and never makes or moves a ".", so the base
    // name and the extension are the pieces of the upper-cased name around its last ".".
    parts.upperFileName = UpperCased(FileNamePart(parts.path));
    const QString& name = parts.upperFileName;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    parts.upperBaseName = dot < 0 ? name : name.left(dot);
    parts.upperExtension = dot < 0 ? name : name.mid(dot + 1);
    return parts;
}

}  // namespace vandrel
