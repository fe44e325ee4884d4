#include "app/cli/cli_context.h"

#include "attributes/attribute_helper.h"
#include "log/log_manager.h"
#include "platform/file_in_use.h"
#include "platform/state_file.h"
#include "rules/rule_list.h"

namespace vandrel {

CliContext::CliContext(DataPaths paths, QTextStream& out, QTextStream& err)
    : paths_(std::move(paths)), out_(out), err_(err) {}

CliContext::~CliContext() = default;

int CliContext::fail(int status, const QString& message) {
    err_ << "vandrel: " << message << Qt::endl;
    return status;
}

LogManager& CliContext::log() {
    if (!log_) log_ = std::make_unique<LogManager>();
    if (!logTried_) {
        logTried_ = true;
        int shownTenth = -1;
        const auto progress = [this, &shownTenth](qint64 done, qint64 total) {
            const int tenth = total > 0 ? int(done * 10 / total) : 10;
            if (tenth == shownTenth) return;
            shownTenth = tenth;
            err_ << "vandrel: making the action log searchable: " << done << " of " << total
                 << " rows" << Qt::endl;
        };
        if (!log_->OpenLogFile(paths_.logFile(), progress))
            err_ << "vandrel: the action log " << paths_.logFile()
                 << " cannot be opened: " << log_->lastError() << Qt::endl;
        else if (!log_->keptAsidePath().isEmpty())
            err_ << "vandrel: the action log could not be read; it was kept as "
                 << log_->keptAsidePath() << " and a new log was started" << Qt::endl;
        // The open has said why the log is unusable.
        logUnusableSaid_ = !log_->isOpen();
    }
    return *log_;
}

bool CliContext::logUsable() {
    LogManager& l = log();
    if (l.isUsable()) return true;
    if (!logUnusableSaid_) {
        logUnusableSaid_ = true;
        fail(kExitFailure, QStringLiteral("the action log %1 cannot record actions, so no more are "
                                          "taken: %2")
                               .arg(paths_.logFile(), l.lastError()));
    }
    return false;
}

EngineContext CliContext::engine() {
    EngineContext ctx;
    if (!log_) log_ = std::make_unique<LogManager>();
    ctx.log = log_.get();
    if (!attributes_) attributes_ = std::make_unique<AttributeHelper>();
    if (!inUse_) inUse_ = std::make_unique<FileInUseProbe>();
    ctx.attributes = attributes_.get();
    ctx.inUse = inUse_.get();
    ctx.prompt = prompt_;
    return ctx;
}

RuleList* CliContext::rules() {
    if (rulesTried_) return rules_.get();
    rulesTried_ = true;
    const StateReadResult read = ReadStateLine(paths_.rulesFile());
    if (read.status == StateReadStatus::Unreadable) {
        fail(kExitFailure, QStringLiteral("%1 cannot be read%2")
                               .arg(paths_.rulesFile(),
                                    read.keptAsidePath.isEmpty()
                                        ? QString()
                                        : QStringLiteral("; kept aside as ") + read.keptAsidePath));
        return nullptr;
    }
    rules_ = std::make_unique<RuleList>(engine());
    rules_->LoadFromString(read.text);
    return rules_.get();
}

bool CliContext::saveRules() {
    if (!rules_) return false;
    if (!WriteStateLine(paths_.rulesFile(), rules_->SaveToString())) {
        fail(kExitFailure, QStringLiteral("%1 cannot be written").arg(paths_.rulesFile()));
        return false;
    }
    return true;
}

QString TsvField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                out += QLatin1String("\\\\");
                break;
            case '\t':
                out += QLatin1String("\\t");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace vandrel
