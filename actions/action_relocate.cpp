#include "actions/action_relocate.h"

#include <optional>

#include "actions/action_support.h"
#include "actions/module_file_op.h"
#include "actions/pattern_expand.h"
#include "actions/undo_mark.h"
#include "platform/path_text.h"
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
    // Only an existing folder is a destination; a plain file of that name is not. Either
    // way the item stays, and the rule learns that this step did not happen.
    if (folder_.isEmpty()) {
        markNotDone(QStringLiteral("no destination folder is set"));
        return paramList;
    }
    // Every file operation goes through the context's file system, so a test can hand in
    // one that fails chosen calls.
    if (!VisibleFolderExists(folder_, ctx_.fs)) {
        markNotDone(FolderExists(folder_, ctx_.fs)
                        ? QStringLiteral("the destination %1 is not a folder").arg(folder_)
                        : QStringLiteral("the destination folder %1 does not exist").arg(folder_));
        return paramList;
    }
    const QString kind = ParamKind(paramList);
    const QString path = ParamPath(paramList);
    const QString fileName = FileNamePart(path);
    const bool isFile = kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    const bool isFolder = kind.compare(QLatin1String("folder"), Qt::CaseInsensitive) == 0;
    if (!isFile && !isFolder) return paramList;

    QString targetFolder = folder_;
    QString made;  // the outermost subfolder created for the item, for undo
    if (sortSubfolder_ == 1) {
        const QString sub = ExpandPattern(pattern_.GetPatternString(), path, ctx_.attributes);
        const std::optional<QString> inside = SubfolderInside(sub);
        // A pattern is untrusted text (rules are imported): one that climbs out of the
        // destination is refused rather than followed.
        if (!inside) {
            markNotDone(
                sub.contains(QChar(u'\0'))
                    ? QStringLiteral("the subfolder name holds a NUL character")
                    : QStringLiteral("the subfolder %1 would lie outside %2").arg(sub, folder_));
            return paramList;
        }
        // A subfolder that cannot be created is not used: the item then goes to the
        // destination folder itself rather than to a path that does not exist.
        if (!inside->isEmpty()) {
            const QString wanted = JoinPath(folder_, *inside);
            // MakeFolderPath answers a path only when a folder stands there.
            const MadeFolders chain = MakeFolderChain(wanted, ctx_.fs);
            if (!chain.path.isEmpty()) {
                targetFolder = wanted;
                made = chain.firstCreated;
            }
        }
    }
    const QString target = JoinPath(targetFolder, fileName);
    const int mode = renameValue_ == 1 ? kConflictRename : kConflictReplace;
    const SafeOpResult done = SafeOperation(path, target, fileOpKind_, mode, isFolder, ctx_.fs);
    if (!done.notDone.isEmpty()) markNotDone(done.notDone);
    // The safe operations answer the source path when nothing was done.
    if (done.path.isEmpty() || done.path == path) return paramList;
    UndoMark mark = UndoMark::ForPath(DefaultFileSystem(), done.path);
    if (!done.aside.isEmpty())
        mark.setAside(done.aside, ItemIdentity::Of(DefaultFileSystem(), done.aside));
    mark.setMadeFolder(made);
    AppendActionRecord(ctx_, actionName_, path, done.path, fileName, mark.toText());
    return MakeParamList(kind, done.path);
}

}  // namespace vandrel
