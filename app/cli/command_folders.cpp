// vandrel folders list | add PATH [options] | remove PATH
#include <QFileInfo>
#include <QRegularExpression>

#include "app/cli/commands.h"
#include "app/cli/desktop_handover.h"
#include "app/cli/folder_cli_util.h"
#include "app/desktop_protocol.h"
#include "app/folder_add_request.h"
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

    FolderAddRequest request;
    request.confirm = confirm;
    request.disabled = disabled;
    if (haveEvery) {
        static const QStringList kHours{"1", "2", "4", "8"};
        const int k = static_cast<int>(kHours.indexOf(every.trimmed()));
        if (k < 0)
            return ctx.fail(
                kExitUsage,
                QStringLiteral("--every takes 1, 2, 4 or 8 (hours), not '%1'").arg(every));
        request.interval = WatchedFolder::intervalItems().at(k);
    }
    if (haveAt) {
        static const QRegularExpression kTime(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
        const QRegularExpressionMatch m = kTime.match(at.trimmed());
        const int h = m.hasMatch() ? m.captured(1).toInt() : -1;
        const int mi = m.hasMatch() ? m.captured(2).toInt() : -1;
        if (h < 0 || h > 23 || mi < 0 || mi > 59)
            return ctx.fail(
                kExitUsage,
                QStringLiteral("--at takes a time HH:MM from 00:00 to 23:59, not '%1'").arg(at));
        request.at = true;
        request.hour = QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
        request.minute = QStringLiteral("%1").arg(mi, 2, 10, QLatin1Char('0'));
    }
    if (haveRules && rules.trimmed() != QLatin1String(kAllRules)) {
        for (const QString& g : rules.split(QLatin1Char(','), Qt::SkipEmptyParts))
            request.ruleGuids << g.trimmed().toUpper();
        if (request.ruleGuids.isEmpty())
            return ctx.fail(kExitUsage, QStringLiteral("--rules needs rule GUIDs"));
    }
    request.path = AbsoluteFolderPath(path);
    const QString abs = request.path;
    const QString problem = request.pathProblem();
    if (!problem.isEmpty()) return ctx.fail(kExitUsage, problem);

    WatchedFolderList list(SystemClock::instance());
    QJsonObject reply;
    QJsonObject handed = request.toJson();
    handed.insert(QStringLiteral("command"), QLatin1String(desktop::kCommandFoldersAdd));
    if (const std::optional<int> status = HandOverToDesktop(ctx, handed, &reply)) {
        // The running program added it: show its line as if added here.
        if (*status != kExitOk) return *status;
        list.AddNewFolder().LoadFromString(reply.value(QLatin1String("folder")).toString());
    } else {
        QString selection = QString::fromLatin1(kAllRules);
        if (!request.ruleGuids.isEmpty()) {
            RuleList* ruleList = ctx.rules();
            if (!ruleList) return kExitFailure;
            QString unknown;
            selection = request.selectionIn(*ruleList, unknown);
            if (!unknown.isEmpty())
                return ctx.fail(kExitUsage, QStringLiteral("unknown rule GUID %1").arg(unknown));
        }
        bool duplicate = false;
        const bool updated = UpdateFolderList(ctx, list, [&](WatchedFolderList& l) {
            duplicate = !request.addTo(l, selection, SystemClock::instance().now());
            return !duplicate;
        });
        if (!updated) return kExitFailure;
        if (duplicate)
            return ctx.fail(kExitUsage, QStringLiteral("%1 is already a watched folder").arg(abs));
    }
    const int index = IndexOfWatchedFolder(list, abs);
    if (index < 0) return ctx.fail(kExitFailure, QStringLiteral("%1 was not added").arg(abs));
    const WatchedFolder& f = list.folder(index);
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
    if (const std::optional<int> handed = HandOverToDesktop(
            ctx, {{QStringLiteral("command"), QLatin1String(desktop::kCommandFoldersRemove)},
                  {QStringLiteral("path"), abs}}))
        return *handed;
    WatchedFolderList list(SystemClock::instance());
    int removed = 0;
    const bool updated = UpdateFolderList(ctx, list, [&](WatchedFolderList& l) {
        for (int i = IndexOfWatchedFolder(l, abs); i >= 0; i = IndexOfWatchedFolder(l, abs)) {
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
