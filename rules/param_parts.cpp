#include "rules/param_parts.h"

#include "rules/rule_text.h"

namespace vandrel {

const ParamParts& PartsOf(const QString& paramList) {
    // One remembered list per thread: conditions of one item are asked back to back.
    thread_local QString lastList;
    thread_local bool valid = false;
    thread_local ParamParts parts;
    if (valid && paramList == lastList) return parts;
    lastList = paramList;
    valid = true;
    parts.kind = ParamKind(paramList);
    parts.path = ParamPath(paramList);
    parts.isFile = EqualsUpper(parts.kind, QLatin1String("FILE"));
    parts.isFolder = EqualsUpper(parts.kind, QLatin1String("FOLDER"));
    parts.upperPath = parts.path.toUpper();
    parts.upperFileName = FileNamePart(parts.path).toUpper();
    parts.upperBaseName = BaseNamePart(parts.path).toUpper();
    parts.upperExtension = ExtensionPart(parts.path).toUpper();
    return parts;
}

}  // namespace vandrel
