#include "app/folder_add_request.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include "folders/rules_selector_model.h"
#include "folders/watched_folder.h"
#include "folders/watched_folder_list.h"
#include "rules/rule_list.h"

namespace vandrel {

namespace {

QString CleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

QJsonObject FolderAddRequest::toJson() const {
    return {{QStringLiteral("path"), path},
            {QStringLiteral("interval"), interval},
            {QStringLiteral("at"), at},
            {QStringLiteral("hour"), hour},
            {QStringLiteral("minute"), minute},
            {QStringLiteral("rules"), QJsonArray::fromStringList(ruleGuids)},
            {QStringLiteral("confirm"), confirm},
            {QStringLiteral("disabled"), disabled}};
}

std::optional<FolderAddRequest> FolderAddRequest::FromJson(const QJsonObject& json) {
    FolderAddRequest r;
    const auto text = [&](const char* key, QString& into) {
        const QJsonValue v = json.value(QLatin1String(key));
        if (!v.isString()) return false;
        into = v.toString();
        return true;
    };
    const auto flag = [&](const char* key, bool& into) {
        const QJsonValue v = json.value(QLatin1String(key));
        if (!v.isBool()) return false;
        into = v.toBool();
        return true;
    };
    if (!text("path", r.path) || !text("interval", r.interval) || !flag("at", r.at) ||
        !text("hour", r.hour) || !text("minute", r.minute) || !flag("confirm", r.confirm) ||
        !flag("disabled", r.disabled) || !json.value(QLatin1String("rules")).isArray())
        return std::nullopt;
    for (const QJsonValue& g : json.value(QLatin1String("rules")).toArray()) {
        if (!g.isString()) return std::nullopt;
        r.ruleGuids << g.toString();
    }
    // The same shapes the command line lets through, checked again: the peer may be any
    // program of this user.
    static const QRegularExpression kTwoDigits(QStringLiteral("^\\d\\d$"));
    if (!QDir::isAbsolutePath(r.path) || CleanAbsolute(r.path) != r.path) return std::nullopt;
    if (!r.interval.isEmpty() && !WatchedFolder::intervalItems().contains(r.interval))
        return std::nullopt;
    if (r.at && (!kTwoDigits.match(r.hour).hasMatch() || !kTwoDigits.match(r.minute).hasMatch() ||
                 r.hour.toInt() > 23 || r.minute.toInt() > 59))
        return std::nullopt;
    return r;
}

QString FolderAddRequest::pathProblem() const {
    if (!QFileInfo(path).isDir()) return QStringLiteral("%1 is not a folder").arg(path);
    if (!WatchedFolder::IsStorablePath(path))
        return QStringLiteral(
                   "%1 cannot be watched: its name holds a line break or a separator text such "
                   "as <|FL|>")
            .arg(path);
    return {};
}

QString FolderAddRequest::selectionIn(const RuleList& rules, QString& unknown) const {
    if (ruleGuids.isEmpty()) return QString::fromLatin1(kAllRules);
    for (const QString& g : ruleGuids)
        if (rules.indexOf(g) < 0) {
            unknown = g;
            return {};
        }
    // The selection names rules in rule-list order, as the folder's selector does.
    QStringList ordered;
    for (const RuleAttr& r : rules.GetRuleAttrs())
        if (ruleGuids.contains(r.ruleGUID)) ordered << r.ruleGUID;
    return MakeRuleSelection(ordered);
}

WatchedFolder* FolderAddRequest::addTo(WatchedFolderList& list, const QString& selection,
                                       const QDateTime& now) const {
    if (IndexOfWatchedFolder(list, path) >= 0) return nullptr;
    WatchedFolder& f = list.AddNewFolder();
    f.setFolderPath(path);
    f.setEnabled(!disabled);
    if (at) {
        f.setMethod(QStringLiteral("at"));
        f.setHour(hour);
        f.setMinute(minute);
    } else if (!interval.isEmpty()) {
        f.setInterval(interval);
    }
    f.selector().LoadFromString(selection);
    f.setConfirm(confirm);
    // Shown until the scheduler's first check computes it afresh.
    f.setNextRunTime(f.ComputeNextRunTime(now));
    return &f;
}

int IndexOfWatchedFolder(const WatchedFolderList& list, const QString& absPath) {
    for (int i = 0; i < list.folderCount(); ++i)
        if (!list.folder(i).folderPath().isEmpty() &&
            CleanAbsolute(list.folder(i).folderPath()) == absPath)
            return i;
    return -1;
}

}  // namespace vandrel
