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

namespace {

QString ReadProblem(const QString& file, const StateReadResult& read) {
    return QStringLiteral("%1 cannot be read%2%3")
        .arg(file, read.problem.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(read.problem),
             read.keptAsidePath.isEmpty()
                 ? QString()
                 : QStringLiteral("; kept aside as ") + read.keptAsidePath);
}

}  // namespace

RuleList* CliContext::rules() {
    if (rulesTried_) return rules_.get();
    rulesTried_ = true;
    const StateReadResult read = ReadStateLine(paths_.rulesFile(), &RuleList::TextProblem);
    if (read.status == StateReadStatus::Unreadable) {
        fail(kExitFailure, ReadProblem(paths_.rulesFile(), read));
        return nullptr;
    }
    rules_ = std::make_unique<RuleList>(engine());
    rules_->LoadFromString(read.text);
    for (const QString& problem : rules_->loadProblems())
        err_ << "vandrel: " << problem << Qt::endl;
    return rules_.get();
}

bool CliContext::updateRules(const std::function<bool(RuleList&)>& change) {
    auto list = std::make_unique<RuleList>(engine());
    const StateUpdateResult r = store_.Update(paths_.rulesFile(), *list, change);
    if (!reportUpdate(paths_.rulesFile(), r)) return false;
    rules_ = std::move(list);
    rulesTried_ = true;
    return true;
}

bool CliContext::reportUpdate(const QString& file, const StateUpdateResult& result) {
    switch (result.status) {
        case StateUpdateStatus::Written:
        case StateUpdateStatus::Unchanged:
            return true;
        case StateUpdateStatus::Unreadable:
            fail(kExitFailure, ReadProblem(file, result.read));
            return false;
        case StateUpdateStatus::LockFailed:
            fail(kExitFailure, result.error);
            return false;
        case StateUpdateStatus::WriteFailed:
            fail(kExitFailure, QStringLiteral("%1 cannot be written").arg(file));
            return false;
    }
    return false;
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
