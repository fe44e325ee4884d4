#include "app/cli/desktop_handover.h"

#include <QJsonArray>

#include "app/desktop_client.h"
#include "app/desktop_protocol.h"

namespace vandrel {

std::optional<int> HandOverToDesktop(CliContext& ctx, QJsonObject request, QJsonObject* reply) {
    request.insert(QStringLiteral("v"), desktop::kVersion);
    const DesktopHandover h = SendToDesktop(ctx.paths().dir(), request, ctx.handoverTimeoutMs());
    switch (h.status) {
        case DesktopHandover::Status::NotRunning:
            return std::nullopt;
        case DesktopHandover::Status::NoAnswer:
            return ctx.fail(
                kExitFailure,
                QStringLiteral("the Vandrel desktop program%1 holds %2 but did not take the "
                               "change (%3); nothing was changed")
                    .arg(h.pid > 0 ? QStringLiteral(" (process %1)").arg(h.pid) : QString(),
                         ctx.paths().dir(), h.problem));
        case DesktopHandover::Status::Answered:
            break;
    }
    for (const QJsonValue& line : h.reply.value(QLatin1String("out")).toArray())
        ctx.out() << line.toString() << Qt::endl;
    for (const QJsonValue& line : h.reply.value(QLatin1String("err")).toArray())
        ctx.err() << line.toString() << Qt::endl;
    if (reply) *reply = h.reply;
    return h.reply.value(QLatin1String("status")).toInt();
}

}  // namespace vandrel
