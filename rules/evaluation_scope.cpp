#include "rules/evaluation_scope.h"

#include "platform/clock.h"

namespace vandrel {

EvaluationScope::Active::Active(EvaluationScope& scope, const QString& paramList,
                                const ItemLook& look)
    : scope_(scope), saved_(std::move(scope.state_)) {
    scope_.state_ = State{};
    scope_.state_.paramList = paramList;
    scope_.state_.look = &look;
}

EvaluationScope::Active::~Active() { scope_.state_ = std::move(saved_); }

const QDateTime& EvaluationScope::now() {
    if (!state_.now) state_.now = clock_.now();
    return *state_.now;
}

qint64 EvaluationScope::nowMs() {
    if (!state_.nowMs) state_.nowMs = now().toMSecsSinceEpoch();
    return *state_.nowMs;
}

qint64 EvaluationScope::nowOffsetMs() {
    if (!state_.offsetMs) {
        // The wall-clock reading taken as if it were UTC: plain arithmetic, no time zone.
        const QDateTime& t = now();
        const qint64 wallMs = QDateTime(t.date(), t.time(), Qt::UTC).toMSecsSinceEpoch();
        state_.offsetMs = wallMs - nowMs();
    }
    return *state_.offsetMs;
}

qint64 EvaluationScope::daysBeforeNowMs(qint64 days) {
    // Few distinct windows per rule list; each costs a time-zone lookup, once per item.
    for (const auto& [d, ms] : state_.daysBefore)
        if (d == days) return ms;
    const qint64 ms = now().addDays(-days).toMSecsSinceEpoch();
    state_.daysBefore.emplace_back(days, ms);
    return ms;
}

}  // namespace vandrel
