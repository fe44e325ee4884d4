#include "actions/action_add_to.h"

#include <QFile>

#include "actions/action_prompt.h"
#include "actions/action_support.h"
#include "platform/path_text.h"
#include "rules/rule_text.h"

namespace vandrel {

ActionAddTo::ActionAddTo(const EngineContext& ctx) : ctx_(ctx) {}

void ActionAddTo::setListFile(const QString& path) { listFile_ = StripSeparators(path); }

QString ActionAddTo::SaveToString() const { return listFile_; }

void ActionAddTo::LoadFromString(const QString& text) { listFile_ = text; }

QString ActionAddTo::TakeAction(const QString& paramList) {
    if (listFile_.isEmpty()) return paramList;
    const QString kind = ParamKind(paramList);
    const QString path = ParamPath(paramList);
    const bool isFile = kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    const bool isFolder = kind.compare(QLatin1String("folder"), Qt::CaseInsensitive) == 0;
    if (!isFile && !isFolder) return paramList;

    auto fail = [&](const QString& why) {
        if (ctx_.prompt)
            ctx_.prompt->ReportFailure(
                QStringLiteral("the path of %1 was not added to %2: %3").arg(path, listFile_, why));
        return paramList;
    };
    // One path per line: a line break inside a name would add a second, made-up path to
    // the list (escaping it would change the path readers see), so such a path is refused.
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        return fail(QStringLiteral("the path holds a line break"));
    // A path without a folder part would land wherever the program happens to run.
    if (!listFile_.contains(QLatin1Char('/')))
        return fail(QStringLiteral("the list file needs a full path"));
    QFile list(listFile_);
    // Append mode writes each line at the end even when two programs add at once.
    if (!list.open(QIODevice::WriteOnly | QIODevice::Append)) return fail(list.errorString());
    const QByteArray line = path.toUtf8() + "\r\n";
    if (list.write(line) != line.size() || !list.flush()) {
        const QString why = list.errorString();
        list.close();
        return fail(why);
    }
    list.close();
    AppendActionRecord(ctx_, QStringLiteral("AddTo"), path, path, FileNamePart(path));
    return MakeParamList(kind, path);
}

}  // namespace vandrel
