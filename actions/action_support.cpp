#include "actions/action_support.h"

#include <QStringList>

#include "log/action_log.h"
#include "log/log_manager.h"
#include "platform/clock.h"

namespace vandrel {

void AppendActionRecord(const EngineContext& ctx, const QString& actionName, const QString& oriPath,
                        const QString& dstPath, const QString& searchWords,
                        const QString& undoMark) {
    if (!ctx.log) return;
    ActionLog record;
    record.takeTime = ctx.clockOrSystem().nowToTheSecond();  // the log keeps seconds
    record.oriPath = oriPath;
    record.dstPath = dstPath;
    record.actionName = actionName;
    record.searchWords = searchWords;
    record.undoMark = undoMark;
    ctx.log->AppendActionLog(record);
}

std::optional<QString> SubfolderInside(const QString& sub) {
    QStringList kept;
    for (const QString& part : sub.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".")) continue;
        if (part == QLatin1String("..") || part.contains(QChar(u'\0'))) return std::nullopt;
        kept << part;
    }
    return kept.join(QLatin1Char('/'));
}

}  // namespace vandrel
