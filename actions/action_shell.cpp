#include "actions/action_shell.h"

#include "actions/action_prompt.h"
#include "actions/action_support.h"
#include "platform/path_text.h"
#include "rules/rule_text.h"

namespace vandrel {

ActionShell::ActionShell(const EngineContext& ctx) : ctx_(ctx), launch_(StartDetachedProcess) {}

QString ActionShell::SaveToString() const { return QString::number(confirm_); }

void ActionShell::LoadFromString(const QString& text) {
    confirm_ = text.trimmed() == QLatin1String("1") ? 1 : 0;
}

QString ActionShell::TakeAction(const QString& paramList) {
    const QString kind = ParamKind(paramList);
    const QString path = ParamPath(paramList);
    const QString verb = shellOP.toLower();
    bool go = true;
    if (confirm_ == 1) {
        go = ctx_.prompt &&
             ctx_.prompt->Confirm(QStringLiteral("Confirm"), QStringLiteral("Do you want to ") +
                                                                 verb + QLatin1Char(' ') + path);
    }
    if (go) {
        const bool isFile = kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
        const bool isFolder = kind.compare(QLatin1String("folder"), Qt::CaseInsensitive) == 0;
        QString program;
        QStringList args;
        if ((isFile || isFolder) && verb == QLatin1String("open")) {
            // xdg-open shows a folder in the file manager and a document in its program.
            program = QStringLiteral("xdg-open");
            args << path;
        } else if (isFile && verb == QLatin1String("print")) {
            // "--" ends lp's options, so no file name is read as one.
            program = QStringLiteral("lp");
            args << QStringLiteral("--") << path;
        }
        if (!program.isEmpty() && !launch_(program, args)) {
            if (ctx_.prompt)
                ctx_.prompt->ReportFailure(
                    QStringLiteral("%1 could not be started to %2 %3").arg(program, verb, path));
            return MakeParamList(kind, path);
        }
    }
    AppendActionRecord(ctx_, verb, path, path, FileNamePart(path));
    return MakeParamList(kind, path);
}

}  // namespace vandrel
