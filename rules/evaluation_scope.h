// What the conditions of one evaluation of one item share: the one look at the item and
// the current time, each taken once however many rules and conditions ask. A rule list
// owns one scope (a batch's copy of the list on another thread has its own) and makes it
// active for each item it evaluates; nothing outlives the evaluation, so memory stays flat
// and the next evaluation looks again. Not thread-safe: used by its list's thread only.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "attributes/item_look.h"
#include "rules/engine_context.h"
#include "rules/rule_text.h"

namespace vandrel {

class Clock;

class EvaluationScope {
    // Everything one evaluation has worked out so far.
    struct State {
        QString paramList;
        const ItemLook* look = nullptr;
        std::optional<QDateTime> now;
        std::optional<qint64> nowMs;
        std::optional<qint64> offsetMs;
        std::vector<std::pair<qint64, qint64>> daysBefore;       // days -> instant
        std::vector<std::pair<std::int64_t, QDate>> localDates;  // seconds -> local day
        bool zoneLoaded = false;
    };

  public:
    explicit EvaluationScope(const Clock& clock) : clock_(clock) {}
    EvaluationScope(const EvaluationScope&) = delete;
    EvaluationScope& operator=(const EvaluationScope&) = delete;

    // While alive, look is the item of paramList for the conditions, and the time is read
    // afresh once. Nests: the outer evaluation is restored when it ends.
    class Active {
      public:
        Active(EvaluationScope& scope, const QString& paramList, const ItemLook& look);
        ~Active();
        Active(const Active&) = delete;
        Active& operator=(const Active&) = delete;

      private:
        EvaluationScope& scope_;
        State saved_;
    };

    // The look of the active evaluation when paramList is its item; null otherwise.
    const ItemLook* lookFor(const QString& paramList) const {
        // Every condition is handed the evaluation's own list: sharing its data is enough
        // to know it is the same text.
        const bool same = paramList.isSharedWith(state_.paramList) || paramList == state_.paramList;
        return state_.look && same ? state_.look : nullptr;
    }
    // The evaluation's current time, read from the clock on first use.
    const QDateTime& now();
    qint64 nowMs();
    // The local time now minus the UTC time now, in milliseconds.
    qint64 nowOffsetMs();
    // The instant days calendar days before now at the same local time of day (a day
    // across a daylight-saving change is 23 or 25 hours long).
    qint64 daysBeforeNowMs(qint64 days);
    // The local calendar day of an instant in seconds since the epoch (invalid when out
    // of range), without the file look each Qt conversion makes.
    QDate localDate(std::int64_t seconds);

  private:
    void loadZoneRules();

    const Clock& clock_;
    State state_;
};

// Runs check(scope, look) with the active evaluation's look at the item of paramList, or,
// when the condition is asked outside an evaluation of its rule list, with a look of its
// own taken now through ctx.fs.
template <typename Check>
bool WithItemLook(const EngineContext& ctx, const QString& paramList, Check check) {
    if (ctx.evaluation)
        if (const ItemLook* look = ctx.evaluation->lookFor(paramList))
            return check(*ctx.evaluation, *look);
    EvaluationScope own(ctx.clockOrSystem());
    const ItemLook look = ItemLook::Take(ParamPath(paramList), ctx.fileSystem());
    const EvaluationScope::Active active(own, paramList, look);
    return check(own, look);
}

}  // namespace vandrel
