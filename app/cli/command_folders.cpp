// vandrel folders list | add PATH [options] | remove PATH
#include <QFileInfo>
#include <QRegularExpression>

#include "app/cli/commands.h"
#include "app/cli/folder_cli_util.h"
#include "folders/rules_selector_model.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "platform/path_text.h"
#include "rules/rule_list.h"
#include "rules/rule_text.h"

namespace vandrel {

namespace {

const char kUsage[] =
    "usage: vandrel folders list | add PATH [--every 1|2|4|8] [--at HH:MM] [--rules GUID,...] "
    "[--confirm] [--disabled] | remove PATH";

QString SelectionColumn(const QString& selection) {
    if (selection == QLatin1String(kAllRules)) return selection;
    const QStringList guids = SelectionGuids(selection);
    return guids.isEmpty() ? QStringLiteral("none") : guids.join(QLatin1Char(','));
}

void PrintFolder(CliContext& ctx, const WatchedFolder& f) {
    ctx.out() << (f.enabled() ? "1" : "0") << '\t' << TsvField(f.folderPath()) << '\t'
              << f.scheduleText() << '\t'
              << f.nextRunTime().toString(QString::fromLatin1(kFolderDateFormat)) << '\t'
              << SelectionColumn(f.selector().SaveToString()) << '\t' << (f.confirm() ? "1" : "0")
              << '\n';
}

int List(CliContext& ctx, const QStringList& args) {
    if (!args.isEmpty()) return ctx.fail(kExitUsage, QString::fromLatin1(kUsage));
    WatchedFolderList list(SystemClock::instance());
    if (!LoadFolderList(ctx, list)) return kExitFailure;
    for (const WatchedFolder* f : list.GetFolderCollection()) PrintFolder(ctx, *f);
    ctx.out().flush();
    return kExitOk;
}

int IndexOfFolder(const WatchedFolderList& list, const QString& absPath) {
    for (int i = 0; i < list.folderCount(); ++i)
        if (!list.folder(i).folderPath().isEmpty() &&
            AbsoluteFolderPath(list.folder(i).folderPath()) == absPath)
            return i;
    return -1;
}

int Add(CliContext& ctx, const QStringList& args) {
    QString path, every, at, rules;
    bool confirm = false, disabled = false, haveEvery = false, haveAt = false, haveRules = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const auto takeValue = [&](QString& into, bool& have) {
            if (i + 1 >= args.size()) return false;
            into = args.at(++i);
            have = true;
            return true;
        };
        if (a == QLatin1String("--every")) {
            if (!takeValue(every, haveEvery))
                return ctx.fail(kExitUsage, QStringLiteral("--every needs 1, 2, 4 or 8"));
        } else if (a == QLatin1String("--at")) {
            if (!takeValue(at, haveAt))
                return ctx.fail(kExitUsage, QStringLiteral("--at needs a time HH:MM"));
        } else if (a == QLatin1String("--rules")) {
            if (!takeValue(rules, haveRules))
                return ctx.fail(kExitUsage, QStringLiteral("--rules needs rule GUIDs"));
        } else if (a == QLatin1String("--confirm")) {
            confirm = true;
        } else if (a == QLatin1String("--disabled")) {
            disabled = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return ctx.fail(kExitUsage, QStringLiteral("unknown option %1").arg(a));
        } else if (path.isEmpty()) {
            path = a;
        } else {
            return ctx.fail(kExitUsage, QString::fromLatin1(kUsage));
        }
    }
    if (path.isEmpty()) return ctx.fail(kExitUsage, QString::fromLatin1(kUsage));
    if (haveEvery && haveAt)
        return ctx.fail(kExitUsage, QStringLiteral("give either --every or --at, not both"));

    QString interval;
    if (haveEvery) {
        static const QStringList kHours{"1", "2", "4", "8"};
        const int k = static_cast<int>(kHours.indexOf(every.trimmed()));
        if (k < 0)
            return ctx.fail(
                kExitUsage,
                QStringLiteral("--every takes 1, 2, 4 or 8 (hours), not '%1'").arg(every));
        interval = WatchedFolder::intervalItems().at(k);
    }
    QString hour, minute;
    if (haveAt) {
        static const QRegularExpression kTime(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
        const QRegularExpressionMatch m = kTime.match(at.trimmed());
        const int h = m.hasMatch() ? m.captured(1).toInt() : -1;
        const int mi = m.hasMatch() ? m.captured(2).toInt() : -1;
        if (h < 0 || h > 23 || mi < 0 || mi > 59)
            return ctx.fail(
                kExitUsage,
                QStringLiteral("--at takes a time HH:MM from 00:00 to 23:59, not '%1'").arg(at));
        hour = QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
        minute = QStringLiteral("%1").arg(mi, 2, 10, QLatin1Char('0'));
    }

    const QString abs = AbsoluteFolderPath(path);
    if (!QFileInfo(abs).isDir())
        return ctx.fail(kExitUsage, QStringLiteral("%1 is not a folder").arg(abs));
    if (!WatchedFolder::IsStorablePath(abs))
        return ctx.fail(kExitUsage,
                        QStringLiteral("%1 cannot be watched: its name holds a line break or a "
                                       "separator text such as <|FL|>")
                            .arg(abs));

    QString selection = QString::fromLatin1(kAllRules);
    if (haveRules && rules.trimmed() != QLatin1String(kAllRules)) {
        RuleList* ruleList = ctx.rules();
        if (!ruleList) return kExitFailure;
        QStringList wanted;
        for (const QString& g : rules.split(QLatin1Char(','), Qt::SkipEmptyParts))
            wanted << g.trimmed().toUpper();
        if (wanted.isEmpty())
            return ctx.fail(kExitUsage, QStringLiteral("--rules needs rule GUIDs"));
        for (const QString& g : wanted)
            if (ruleList->indexOf(g) < 0)
                return ctx.fail(kExitUsage, QStringLiteral("unknown rule GUID %1").arg(g));
        // The selection names rules in rule-list order, as the folder's selector does.
        QStringList ordered;
        for (const RuleAttr& r : ruleList->GetRuleAttrs())
            if (wanted.contains(r.ruleGUID)) ordered << r.ruleGUID;
        selection = MakeRuleSelection(ordered);
    }

    WatchedFolderList list(SystemClock::instance());
    bool duplicate = false;
    const bool updated = UpdateFolderList(ctx, list, [&](WatchedFolderList& l) {
        duplicate = IndexOfFolder(l, abs) >= 0;
        if (duplicate) return false;
        WatchedFolder& f = l.AddNewFolder();
        f.setFolderPath(abs);
        f.setEnabled(!disabled);
        if (haveAt) {
            f.setMethod(QStringLiteral("at"));
            f.setHour(hour);
            f.setMinute(minute);
        } else if (haveEvery) {
            f.setInterval(interval);
        }
        f.selector().LoadFromString(selection);
        f.setConfirm(confirm);
        // Shown until the scheduler's first check computes it afresh.
        f.setNextRunTime(f.ComputeNextRunTime(SystemClock::instance().now()));
        return true;
    });
    if (!updated) return kExitFailure;
    if (duplicate)
        return ctx.fail(kExitUsage, QStringLiteral("%1 is already a watched folder").arg(abs));
    const WatchedFolder& f = list.folder(IndexOfFolder(list, abs));
    // Hidden folders are never organised (their tasks come out empty); say so now rather
    // than leave the user wondering why nothing happens.
    if (FileNamePart(abs).startsWith(QLatin1Char('.')))
        ctx.err() << "vandrel: note: " << abs
                  << " is a hidden folder; its items will not be organized" << Qt::endl;
    PrintFolder(ctx, f);
    ctx.out().flush();
    return kExitOk;
}

int Remove(CliContext& ctx, const QStringList& args) {
    if (args.size() != 1) return ctx.fail(kExitUsage, QString::fromLatin1(kUsage));
    const QString abs = AbsoluteFolderPath(args.first());
    WatchedFolderList list(SystemClock::instance());
    int removed = 0;
    const bool updated = UpdateFolderList(ctx, list, [&](WatchedFolderList& l) {
        for (int i = IndexOfFolder(l, abs); i >= 0; i = IndexOfFolder(l, abs)) {
            l.RemoveFolderAt(i);
            ++removed;
        }
        return removed > 0;
    });
    if (!updated) return kExitFailure;
    if (removed == 0)
        return ctx.fail(kExitUsage, QStringLiteral("%1 is not a watched folder").arg(abs));
    return kExitOk;
}

}  // namespace

int RunFoldersCommand(CliContext& ctx, const QStringList& args) {
    const QString sub = args.value(0);
    if (sub == QLatin1String("list")) return List(ctx, args.mid(1));
    if (sub == QLatin1String("add")) return Add(ctx, args.mid(1));
    if (sub == QLatin1String("remove")) return Remove(ctx, args.mid(1));
    return ctx.fail(kExitUsage, QString::fromLatin1(kUsage));
}

}  // namespace vandrel
