#include "actions/action_rename.h"

#include "actions/action_support.h"
#include "actions/module_file_op.h"
#include "actions/pattern_expand.h"
#include "actions/undo_mark.h"
#include "platform/path_text.h"
#include "rules/rule_text.h"

namespace vandrel {

ActionRename::ActionRename(const EngineContext& ctx) : ctx_(ctx) {
    pattern_.SetPatternString(QStringLiteral("<//>name<//>.<//>extension<//>"));
}

QString ActionRename::SaveToString() const {
    return pattern_.GetPatternString() + QString::fromUtf16(kActionFieldSep) +
           QString::number(renameValue_);
}

void ActionRename::LoadFromString(const QString& text) {
    const QStringList f = SplitText(text, kActionFieldSep);
    pattern_.SetPatternString(FieldAt(f, 0));
    if (f.size() > 1) renameValue_ = f.at(1).trimmed() == QLatin1String("0") ? 0 : 1;
}

QString ActionRename::TakeAction(const QString& paramList) {
    const QString patternText = pattern_.GetPatternString();
    if (patternText.isEmpty()) {
        markNotDone(QStringLiteral("the name pattern is empty"));
        return paramList;
    }
    const QString kind = ParamKind(paramList);
    const QString path = ParamPath(paramList);
    const bool isFile = kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    const bool isFolder = kind.compare(QLatin1String("folder"), Qt::CaseInsensitive) == 0;
    if (!isFile && !isFolder) return paramList;
    const QString oldName = FileNamePart(path);
    const QString newName = ExpandPattern(patternText, path, ctx_.attributes);
    // An empty expansion would name the item's folder itself, and "." or ".." its folder
    // or parent: leave the item as it is.
    if (newName.isEmpty() || newName == QLatin1String(".") || newName == QLatin1String("..")) {
        markNotDone(QStringLiteral("the new name \"%1\" is not a name").arg(newName));
        return paramList;
    }
    // A rename keeps the item in its folder: a "/" in the pattern's own text would move it
    // elsewhere ("../../tmp/x"), and an imported rule is untrusted.
    if (newName.contains(QLatin1Char('/'))) {
        markNotDone(QStringLiteral("the new name \"%1\" holds a \"/\"").arg(newName));
        return paramList;
    }
    const QString target = JoinPath(FolderPart(path), newName);
    const int mode = renameValue_ == 1 ? kConflictRename : kConflictReplace;
    const SafeOpResult done = SafeOperation(path, target, kFileOpRename, mode, isFolder, ctx_.fs);
    if (!done.notDone.isEmpty()) markNotDone(done.notDone);
    if (done.path.isEmpty() || done.path == path) return paramList;
    UndoMark mark = UndoMark::ForPath(DefaultFileSystem(), done.path);
    if (!done.aside.isEmpty())
        mark.setAside(done.aside, ItemIdentity::Of(DefaultFileSystem(), done.aside));
    AppendActionRecord(ctx_, QStringLiteral("Rename"), path, done.path,
                       oldName + QLatin1Char(',') + newName, mark.toText());
    return MakeParamList(kind, done.path);
}

}  // namespace vandrel
