#include "actions/action_run.h"

#include "actions/action_prompt.h"
#include "actions/action_support.h"
#include "actions/module_file_op.h"
#include "actions/pattern_expand.h"
#include "platform/path_text.h"
#include "rules/rule_text.h"

namespace vandrel {

ActionRun::ActionRun(const EngineContext& ctx) : ctx_(ctx), launch_(StartDetachedProcess) {
    pattern_.SetPatternString(QStringLiteral("<//>filepath<//>"));
}

void ActionRun::setApplication(const QString& path) { application_ = StripSeparators(path); }

QString ActionRun::SaveToString() const {
    const QString sep = QString::fromUtf16(kActionFieldSep);
    return application_ + sep + QString::number(params_) + sep + pattern_.GetPatternString();
}

void ActionRun::LoadFromString(const QString& text) {
    const QStringList f = SplitText(text, kActionFieldSep);
    application_ = FieldAt(f, 0);
    params_ = FieldAt(f, 1).trimmed() == QLatin1String("1") ? 1 : 0;
    if (f.size() > 2) pattern_.SetPatternString(f.at(2));
}

QStringList ActionRun::ArgumentsFor(const QString& itemPath) const {
    if (params_ != 1) return {};
    return SplitRunArguments(pattern_.GetPatternString(), itemPath);
}

QString ActionRun::TakeAction(const QString& paramList) {
    if (application_.isEmpty() || !FileExists(application_)) return paramList;
    const QString kind = ParamKind(paramList);
    const QString path = ParamPath(paramList);
    const bool isFile = kind.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    const bool isFolder = kind.compare(QLatin1String("folder"), Qt::CaseInsensitive) == 0;
    if (!isFile && !isFolder) return paramList;
    if (!launch_(application_, ArgumentsFor(path))) {
        if (ctx_.prompt)
            ctx_.prompt->ReportFailure(
                QStringLiteral("%1 could not be started for %2").arg(application_, path));
        return paramList;
    }
    AppendActionRecord(ctx_, QStringLiteral("Run"), path, path, FileNamePart(path));
    return MakeParamList(kind, path);
}

}  // namespace vandrel
