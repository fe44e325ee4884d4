#include "app/settings_state.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "attributes/attribute_helper.h"
#include "folders/watched_folder_list.h"
#include "log/log_manager.h"
#include "platform/clock.h"
#include "platform/file_in_use.h"
#include "rules/rule_list.h"
#include "rules/rule_text.h"

namespace vandrel {

namespace {

QString KeptAsideMessage(const QString& file, const StateReadResult& read) {
    return QStringLiteral(
               "%1 could not be read (%2). It was kept as %3 and Vandrel started "
               "without it.")
        .arg(file, read.problem, read.keptAsidePath);
}

}  // namespace

SettingsState::SettingsState(DataPaths paths, const Clock& clock)
    : paths_(std::move(paths)), clock_(clock) {}

SettingsState::~SettingsState() {
    if (log_) log_->CloseLogFile();
}

EngineContext SettingsState::engine() const {
    EngineContext ctx;
    ctx.log = log_.get();
    ctx.attributes = attributes_.get();
    ctx.inUse = inUse_.get();
    ctx.clock = &clock_;
    return ctx;
}

QStringList SettingsState::Load(LogOpening logOpening) {
    QStringList problems;
    if (!paths_.ensureExists())
        problems << QStringLiteral("The data folder %1 cannot be used.").arg(paths_.dir());
    log_ = std::make_unique<LogManager>(&clock_);
    if (logOpening == LogOpening::Now) problems << OpenLog();
    attributes_ = std::make_unique<AttributeHelper>(&clock_);
    inUse_ = std::make_unique<FileInUseProbe>();
    rules_ = std::make_unique<RuleList>(engine());
    folders_ = std::make_unique<WatchedFolderList>(clock_);

    const StateReadResult rules = ReadStateLine(paths_.rulesFile(), &RuleList::TextProblem);
    if (rules.status == StateReadStatus::Unreadable)
        problems << KeptAsideMessage(paths_.rulesFile(), rules);
    rules_->LoadFromString(rules.text);
    rulesBase_ = rules_->SaveToString();
    problems << rules_->loadProblems();

    const StateReadResult folders = folders_->LoadFromFile(paths_.foldersFile());
    if (folders.status == StateReadStatus::Unreadable)
        problems << KeptAsideMessage(paths_.foldersFile(), folders);
    foldersBase_ = folders_->SaveToString();
    return problems;
}

QStringList SettingsState::OpenLog() {
    QStringList problems;
    if (logOpenTried_ || !log_) return problems;
    logOpenTried_ = true;
    // Folding and indexing a large backlog can take minutes: the log tab's reader does
    // it on its own thread, so the window never waits for it.
    if (!log_->OpenLogFile(paths_.logFile(), {}, false))
        problems << QStringLiteral(
                        "The action log %1 cannot be opened: %2. Rules will not act "
                        "until it can be.")
                        .arg(paths_.logFile(), log_->lastError());
    else if (!log_->keptAsidePath().isEmpty())
        problems << QStringLiteral(
                        "The action log was damaged. It was kept as %1 and a new "
                        "log was started.")
                        .arg(log_->keptAsidePath());
    return problems;
}

ListSaveResult SettingsState::saveList(const QString& path, const StateTextCheck& check,
                                       QString& base,
                                       const std::function<QString(const QString&)>& mine) {
    ListSaveResult result;
    QString written;
    const auto change = [&](QString& text) {
        const QString ours = mine(text);
        // No edits here, and another program changed the file: its version stays and the
        // window shows it. A missing file is written anew, so nothing shown is lost.
        if (ours == base && text != base && QFileInfo::exists(path)) {
            result.reload = text;
            written = text;
            return false;
        }
        text = ours;
        written = ours;
        return true;
    };
    StateUpdateResult r = store_.UpdateLine(path, check, change);
    // A damaged file was kept aside by the first try; the window's list takes its place.
    if (r.status == StateUpdateStatus::Unreadable) {
        result.reload.reset();
        r = store_.UpdateLine(path, check, change);
    }
    if (r.ok()) {
        base = written;
        return result;
    }
    result.ok = false;
    result.reload.reset();
    result.error = r.status == StateUpdateStatus::LockFailed
                       ? r.error
                       : QStringLiteral("%1 cannot be written.").arg(path);
    return result;
}

ListSaveResult SettingsState::SaveRules() {
    const QString text = rules_->SaveToString();
    return saveList(paths_.rulesFile(), &RuleList::TextProblem, rulesBase_,
                    [&](const QString&) { return text; });
}

ListSaveResult SettingsState::SaveFolders() {
    return saveList(paths_.foldersFile(), &WatchedFolderList::TextProblem, foldersBase_,
                    [&](const QString& onDisk) {
                        // A scheduler may have run a folder meanwhile: keep its run times.
                        WatchedFolderList disk(clock_);
                        disk.LoadFromString(onDisk);
                        folders_->AdoptScheduleFrom(disk);
                        return folders_->SaveToString();
                    });
}

QString SettingsState::ExportRules(const QString& file) const {
    // Written whole or not at all: an interrupted export never leaves half a rule list.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return out.errorString();
    out.write(rules_->SaveToString().toUtf8() + "\r\n");
    if (!out.commit()) return out.errorString();
    return {};
}

ImportResult SettingsState::ReadImport(const QString& file) {
    ImportResult r;
    QFile in(file);
    if (QFileInfo(file).isDir() || !in.open(QIODevice::ReadOnly)) {
        r.problem = in.errorString();
        return r;
    }
    // A rules file is one line; a far larger file (a video picked by mistake) is not one
    // and is not read into memory whole.
    constexpr qint64 kMaxImportBytes = qint64(64) << 20;
    if (in.size() > kMaxImportBytes) {
        r.problem = QStringLiteral("it is too large to be a rules file");
        return r;
    }
    const QByteArray bytes = in.readAll();
    r.problem = TextEncodingProblem(bytes);
    if (!r.problem.isEmpty()) return r;
    QString line = QString::fromUtf8(bytes);
    if (line.startsWith(QChar(0xFEFF))) line.remove(0, 1);
    const qsizetype end = line.indexOf(QLatin1Char('\n'));
    if (end >= 0) line.truncate(end);
    while (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (!line.contains(QString::fromUtf16(kRulePartSep))) {
        r.status = ImportStatus::NotRules;
        return r;
    }
    r.problem = RuleList::TextProblem(line);
    r.status = r.problem.isEmpty() ? ImportStatus::Imported : ImportStatus::Damaged;
    if (r.status == ImportStatus::Imported) r.line = line;
    return r;
}

}  // namespace vandrel
