#include "actions/action_relocate.h"

#include "actions/action_support.h"
#include "actions/module_file_op.h"
#include "actions/pattern_expand.h"
#include "rules/rule_text.h"

namespace vandrel {

ActionRelocate::ActionRelocate(const EngineContext& ctx, int fileOpKind, QString actionName)
    : ctx_(ctx), fileOpKind_(fileOpKind), actionName_(std::move(actionName)) {
    pattern_.SetPatternString(QStringLiteral("<//>date.current<//>"));
}

void ActionRelocate::setFolder(const QString& folder) { folder_ = StripSeparators(folder); }

QString ActionRelocate::SaveToString() const {
    const QString sep = QString::fromUtf16(kActionFieldSep);
    return folder_ + sep + QString::number(sortSubfolder_) + sep + pattern_.GetPatternString() +
           sep + QString::number(renameValue_);
}

void ActionRelocate::LoadFromString(const QString& text) {
    const QStringList f = SplitText(text, kActionFieldSep);
    folder_ = FieldAt(f, 0);
    sortSubfolder_ = FieldAt(f, 1).trimmed() == QLatin1String("1") ? 1 : 0;
    // A payload cut short keeps the defaults of the fields it lacks.
    if (f.size() > 2) pattern_.SetPatternString(f.at(2));
    if (f.size() > 3) renameValue_ = f.at(3).trimmed() == QLatin1String("0") ? 0 : 1;
}

QString ActionRelocate::TakeAction(const QString& paramList) {
    // Only an existing folder is a destination; a plain file of that name is not.
    if (folder_.isEmpty() || !VisibleFolderExists(folder_))
        return paramList;
    const QString kind = ParamKind(paramList);
    const QString path = ParamPath(paramList);
    const QString fileName = FileNamePart(path);
    const bool isFile = kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    const bool isFolder = kind.compare(QLatin1String("folder"), Qt::CaseInsensitive) == 0;
    if (!isFile && !isFolder) return paramList;

    QString targetFolder = folder_;
    if (sortSubfolder_ == 1) {
        const QString sub = ExpandPattern(pattern_.GetPatternString(), path, ctx_.attributes);
        // A subfolder that cannot be created is not used: the item then goes to the
        // destination folder itself rather than to a path that does not exist.
        if (!sub.isEmpty()) {
            const QString wanted = JoinPath(folder_, sub);
            // MakeFolderPath answers a path only when a folder stands there.
            if (!MakeFolderPath(wanted).isEmpty())
                targetFolder = wanted;
        }
    }
    const QString target = JoinPath(targetFolder, fileName);
    const int mode = renameValue_ == 1 ? kConflictRename : kConflictReplace;
    const QString newPath = isFile ? SafeFileOperation(path, target, fileOpKind_, mode)
                                   : SafeFolderOperation(path, target, fileOpKind_, mode);
    // The safe operations answer the source path when nothing was done.
    if (newPath.isEmpty() || newPath == path) return paramList;
    AppendActionRecord(ctx_, actionName_, path, newPath, fileName);
    return MakeParamList(kind, newPath);
}

}  // namespace vandrel
