#include "basket/quick_folder_list.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "actions/module_file_op.h"
#include "actions/undo_mark.h"
#include "log/action_log.h"
#include "log/log_manager.h"
#include "log/log_run.h"
#include "platform/path_text.h"
#include "rules/rule_text.h"

namespace vandrel {

namespace {

constexpr int kLabelChars = 8;

bool IsUsablePath(const QString& path) {
    return !path.isEmpty() && QDir::isAbsolutePath(path) && StripSeparators(path) == path;
}

// True when folder is item itself or lies inside it: moving item there would put a
// folder into itself.
bool IsInside(const QString& folder, const QString& item) {
    const QString f = QDir::cleanPath(folder);
    const QString i = QDir::cleanPath(item);
    return f == i || f.startsWith(i.endsWith(QLatin1Char('/')) ? i : i + QLatin1Char('/'));
}

}  // namespace

QuickFolderList::QuickFolderList() { ensureTrailingSlot(); }

QString QuickFolderList::LabelText(const QString& folderPath) {
    if (folderPath.isEmpty()) return QStringLiteral("Browse...");
    QString name = FileNamePart(folderPath);
    if (name.isEmpty()) name = folderPath;  // the root folder has no name of its own
    return name.left(kLabelChars);
}

QString QuickFolderList::TooltipText(const QString& folderPath) {
    if (folderPath.isEmpty())
        return QStringLiteral("Drop files and Browse a folder for quick moving");
    return QStringLiteral("Drop files to move to ") + folderPath;
}

QuickFolderList::Assigned QuickFolderList::AssignFolder(int slot, const QString& path) {
    if (slot < 0 || slot >= slotCount() || !IsUsablePath(path)) return Assigned::Refused;
    for (int i = 0; i < slotCount(); ++i) {
        if (i != slot && slots_[i] == path) {
            slots_[slot].clear();
            // Emptying a slot in the middle would leave two empty slots.
            if (slot != slotCount() - 1) slots_.removeAt(slot);
            return Assigned::Duplicate;
        }
    }
    slots_[slot] = path;
    ensureTrailingSlot();
    return Assigned::Added;
}

bool QuickFolderList::RemoveFolder(int slot) {
    if (slot < 0 || slot >= slotCount() || slots_[slot].isEmpty()) return false;
    slots_.removeAt(slot);
    ensureTrailingSlot();
    return true;
}

QString QuickFolderList::SaveToString() const {
    QStringList kept;
    for (const QString& p : slots_) {
        if (!p.isEmpty()) kept << p;
    }
    return kept.join(QLatin1String(kQuickFolderSeparator));
}

void QuickFolderList::LoadFromString(const QString& text) {
    slots_.clear();
    for (const QString& part : text.split(QLatin1String(kQuickFolderSeparator))) {
        if (!part.isEmpty() && !slots_.contains(part)) slots_ << part;
    }
    slots_ << QString();
}

QString QuickFolderList::TextProblem(const QString& text) {
    const QStringList parts = text.split(QLatin1String(kQuickFolderSeparator));
    for (int i = 0; i < parts.size(); ++i) {
        if (!parts[i].isEmpty() && !QDir::isAbsolutePath(parts[i]))
            return QStringLiteral("folder %1 is not an absolute path").arg(i + 1);
    }
    return {};
}

StateReadResult QuickFolderList::LoadFromFile(const QString& path) {
    StateReadResult read = ReadStateLine(path, &QuickFolderList::TextProblem);
    LoadFromString(read.status == StateReadStatus::Ok ? read.text : QString());
    return read;
}

StateUpdateResult QuickFolderList::SaveToFile(const QString& path) const {
    // Only the basket writes this file; the lock still keeps a half-read file from being
    // taken for damaged by another process reading it.
    const QString mine = SaveToString();
    return StateStore().UpdateLine(path, &QuickFolderList::TextProblem, [&](QString& text) {
        if (text == mine) return false;
        text = mine;
        return true;
    });
}

std::vector<QuickMoveResult> QuickFolderList::MoveItems(const QString& folder,
                                                        const QStringList& items, LogManager* log,
                                                        FileSystem* fs) {
    std::vector<QuickMoveResult> results;
    bool logBroken = false;
    // One drop is one run: undo takes it back whole.
    const LogRun run(log);
    const bool folderThere = VisibleFolderExists(folder, fs);
    for (const QString& item : items) {
        QuickMoveResult r{item, item, {}};
        SafeOpResult notDone{item, {}, {}};
        const QString name = FileNamePart(item);
        const QString target = QDir(folder).filePath(name);
        if (logBroken) {
            r.problem = QStringLiteral("not moved: the action log could not be written");
        } else if (!folderThere) {
            r.problem = QStringLiteral("the quick folder %1 does not exist").arg(folder);
        } else if (QDir::cleanPath(QFileInfo(item).absolutePath()) == QDir::cleanPath(folder)) {
            r.problem = QStringLiteral("it is already in %1").arg(folder);
        } else if (FileExists(item, fs)) {
            notDone = SafeOperation(item, target, kFileOpMove, kConflictRename, false, fs);
        } else if (VisibleFolderExists(item, fs)) {
            if (IsInside(folder, item))
                r.problem = QStringLiteral("a folder cannot be moved into itself");
            else
                notDone = SafeOperation(item, target, kFileOpMove, kConflictRename, true, fs);
        } else {
            r.problem = QStringLiteral("it is missing, hidden, or neither a file nor a folder");
        }
        r.target = notDone.path.isEmpty() ? item : notDone.path;
        // The reason (a full disk, say) is what the user needs to act on.
        if (r.problem.isEmpty() && !notDone.notDone.isEmpty())
            r.problem =
                QStringLiteral("it could not be moved to %1: %2").arg(folder, notDone.notDone);
        else if (r.problem.isEmpty() && r.target == item)
            r.problem = QStringLiteral("it could not be moved to %1").arg(folder);
        if (r.moved() && log != nullptr) {
            const QString mark =
                UndoMark::ForPath(fs ? *fs : DefaultFileSystem(), r.target).toText();
            log->AppendActionLog(ActionLog{QDateTime::currentDateTime(), item, r.target,
                                           QString::fromLatin1(kQuickMoveAction), name, mark});
            // A move the log does not hold must not be followed by more: stop here.
            if (!log->CommitToLogFile(QString::fromLatin1(kQuickMoveTitle))) logBroken = true;
        }
        results.push_back(r);
    }
    return results;
}

void QuickFolderList::ensureTrailingSlot() {
    if (slots_.isEmpty() || !slots_.last().isEmpty()) slots_ << QString();
}

}  // namespace vandrel
