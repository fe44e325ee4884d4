// vandrel rules list
// vandrel rules export [--yes] FILE
// vandrel rules import [--yes] FILE
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/cli/commands.h"
#include "app/cli/desktop_handover.h"
#include "app/desktop_protocol.h"
#include "platform/state_file.h"
#include "rules/rule_list.h"
#include "rules/rule_text.h"

namespace vandrel {

namespace {

const char kRulesUsage[] =
    "usage: vandrel rules list | rules export [--yes] FILE | rules import [--yes] FILE";

struct FileArgs {
    QString file;
    bool yes = false;
    QString error;
};

FileArgs ParseFileArgs(const QStringList& args) {
    FileArgs a;
    bool optionsDone = false;
    for (const QString& s : args) {
        if (!optionsDone && s == QLatin1String("--")) {
            optionsDone = true;
        } else if (!optionsDone && s == QLatin1String("--yes")) {
            a.yes = true;
        } else if (!optionsDone && s.startsWith(QLatin1Char('-')) && s.size() > 1) {
            a.error = QStringLiteral("unknown option %1").arg(s);
            return a;
        } else if (a.file.isEmpty()) {
            a.file = s;
        } else {
            a.error = QStringLiteral("only one FILE may be given");
            return a;
        }
    }
    if (a.file.isEmpty() && a.error.isEmpty()) a.error = QStringLiteral("no FILE given");
    return a;
}

int ExportRules(CliContext& ctx, const FileArgs& a) {
    RuleList* rules = ctx.rules();
    if (!rules) return kExitFailure;
    const QFileInfo info(a.file);
    if (info.isDir()) return ctx.fail(kExitFailure, QStringLiteral("%1 is a folder").arg(a.file));
    if (info.exists() && !a.yes)
        return ctx.fail(kExitFailure,
                        QStringLiteral("Are you sure to overwrite the exist file? %1 exists and "
                                       "was left unchanged (use --yes to overwrite it)")
                            .arg(a.file));
    // Written whole or not at all: an interrupted export never leaves half a rule list.
    QSaveFile out(a.file);
    if (!out.open(QIODevice::WriteOnly))
        return ctx.fail(kExitFailure,
                        QStringLiteral("%1 cannot be written: %2").arg(a.file, out.errorString()));
    out.write(rules->SaveToString().toUtf8() + "\r\n");
    if (!out.commit())
        return ctx.fail(kExitFailure,
                        QStringLiteral("%1 cannot be written: %2").arg(a.file, out.errorString()));
    ctx.out() << "Export Successfully." << Qt::endl;
    return kExitOk;
}

int ImportRules(CliContext& ctx, const FileArgs& a) {
    // A running desktop program holds the rules in memory: it imports them itself.
    if (const std::optional<int> handed = HandOverToDesktop(
            ctx, {{QStringLiteral("command"), QLatin1String(desktop::kCommandRulesImport)},
                  {QStringLiteral("file"), QFileInfo(a.file).absoluteFilePath()},
                  {QStringLiteral("yes"), a.yes}}))
        return *handed;
    QFile in(a.file);
    if (QFileInfo(a.file).isDir() || !in.open(QIODevice::ReadOnly))
        return ctx.fail(
            kExitFailure,
            QStringLiteral("%1 cannot be read%2")
                .arg(a.file, in.errorString().isEmpty() ? QString()
                                                        : QStringLiteral(": ") + in.errorString()));
    // An imported file is untrusted: text that is not UTF-8, or holds a NUL byte (which
    // would cut a stored path short), never reaches the rule list.
    // A rules file is one line; a file far larger is not one (a video picked by mistake)
    // and is not read into memory whole.
    constexpr qint64 kMaxImportBytes = qint64(64) << 20;
    if (in.size() > kMaxImportBytes)
        return ctx.fail(kExitFailure,
                        QStringLiteral("%1 cannot be imported: it is too large to be a rules "
                                       "file; nothing was imported")
                            .arg(a.file));
    const QByteArray bytes = in.readAll();
    const QString encoding = TextEncodingProblem(bytes);
    if (!encoding.isEmpty())
        return ctx.fail(kExitFailure,
                        QStringLiteral("%1 cannot be imported: %2; nothing was imported")
                            .arg(a.file, encoding));
    QString line = QString::fromUtf8(bytes);
    if (line.startsWith(QChar(0xFEFF))) line.remove(0, 1);
    const qsizetype lineEnd = line.indexOf(QLatin1Char('\n'));
    if (lineEnd >= 0) line.truncate(lineEnd);
    while (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (!line.contains(QString::fromUtf16(kRulePartSep))) {
        ctx.err() << "I think this file doesn't contain the correct rules settings format."
                  << Qt::endl;
        return kExitFailure;
    }
    const QString shape = RuleList::TextProblem(line);
    if (!shape.isEmpty())
        return ctx.fail(
            kExitFailure,
            QStringLiteral("%1 cannot be imported: %2; nothing was imported").arg(a.file, shape));
    // Decided on the rules as they are on disk at the moment of the change.
    bool refused = false;
    if (!ctx.updateRules([&](RuleList& rules) {
            // Replacing an empty rule list loses nothing; replacing rules needs a yes.
            refused = rules.ruleCount() > 0 && !a.yes;
            if (refused) return false;
            rules.LoadFromString(line);
            return true;
        }))
        return kExitFailure;
    if (refused)
        return ctx.fail(kExitFailure,
                        QStringLiteral("This operation will overwrite your current rules. "
                                       "Nothing was imported (use --yes to import %1)")
                            .arg(a.file));
    for (const QString& problem : ctx.rules()->loadProblems())
        ctx.err() << "vandrel: " << problem << Qt::endl;
    ctx.out() << "Import Successfully" << Qt::endl;
    return kExitOk;
}

}  // namespace

int RunRulesCommand(CliContext& ctx, const QStringList& args) {
    if (args.size() == 1 && args.first() == QLatin1String("list")) {
        RuleList* rules = ctx.rules();
        if (!rules) return kExitFailure;
        for (const RuleAttr& a : rules->GetRuleAttrs())
            ctx.out() << a.ruleTitle << '\t' << a.ruleGUID << '\n';
        ctx.out().flush();
        return kExitOk;
    }
    if (!args.isEmpty() &&
        (args.first() == QLatin1String("export") || args.first() == QLatin1String("import"))) {
        const FileArgs a = ParseFileArgs(args.mid(1));
        if (!a.error.isEmpty())
            return ctx.fail(kExitUsage,
                            QStringLiteral("%1 (%2)").arg(a.error, QLatin1String(kRulesUsage)));
        return args.first() == QLatin1String("export") ? ExportRules(ctx, a) : ImportRules(ctx, a);
    }
    return ctx.fail(kExitUsage, QLatin1String(kRulesUsage));
}

}  // namespace vandrel
