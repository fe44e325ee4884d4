#include "rules/evaluation_scope.h"

#include <time.h>

#include <atomic>
#include <chrono>
#include <limits>

#include "platform/clock.h"

namespace vandrel {

namespace {

constexpr qint64 kDayMs = 86400000;

qint64 FloorSeconds(qint64 ms) { return ms >= 0 ? ms / 1000 : (ms - 999) / 1000; }

// The offset from UTC in force at ms, by the C library's rules as last loaded (no file
// look); nullopt when the instant is out of its range.
std::optional<qint64> OffsetAtMs(qint64 ms) {
    const time_t secs = static_cast<time_t>(FloorSeconds(ms));
    struct tm parts {};
    if (!::localtime_r(&secs, &parts)) return std::nullopt;
    return static_cast<qint64>(parts.tm_gmtoff) * 1000;
}

}  // namespace

EvaluationScope::Active::Active(EvaluationScope& scope, const QString& paramList,
                                const ItemLook& look)
    : scope_(scope), saved_(std::move(scope.state_)) {
    scope_.state_ = State{};
    scope_.state_.paramList = paramList;
    scope_.state_.look = &look;
}

EvaluationScope::Active::~Active() { scope_.state_ = std::move(saved_); }

const QDateTime& EvaluationScope::now() {
    // The very instant of nowMs(), as a local date-time.
    if (!state_.now) state_.now = QDateTime::fromMSecsSinceEpoch(nowMs(), Qt::LocalTime);
    return *state_.now;
}

qint64 EvaluationScope::nowMs() {
    if (!state_.nowMs) state_.nowMs = clock_.nowMSecsSinceEpoch();
    return *state_.nowMs;
}

qint64 EvaluationScope::nowOffsetMs() {
    if (!state_.offsetMs) {
        loadZoneRules();
        if (const std::optional<qint64> offset = OffsetAtMs(nowMs())) {
            state_.offsetMs = *offset;
        } else {
            // The wall-clock reading taken as if it were UTC: plain arithmetic.
            const QDateTime& t = now();
            state_.offsetMs = QDateTime(t.date(), t.time(), Qt::UTC).toMSecsSinceEpoch() - nowMs();
        }
    }
    return *state_.offsetMs;
}

void EvaluationScope::loadZoneRules() {
    // Reloading the time-zone rules costs the system a look at /etc/localtime. They are
    // reloaded at most once a second (by the monotonic clock, which asks no file), so a
    // change of the system's zone is still seen within a second, also by a long batch.
    if (state_.zoneLoaded) return;
    state_.zoneLoaded = true;
    using std::chrono::steady_clock;
    static std::atomic<steady_clock::rep> lastLoad{std::numeric_limits<steady_clock::rep>::min()};
    const steady_clock::rep now = steady_clock::now().time_since_epoch().count();
    const steady_clock::rep last = lastLoad.load(std::memory_order_relaxed);
    const steady_clock::rep second =
        std::chrono::duration_cast<steady_clock::duration>(std::chrono::seconds(1)).count();
    if (last != std::numeric_limits<steady_clock::rep>::min() && now >= last && now - last < second)
        return;
    ::tzset();
    lastLoad.store(now, std::memory_order_relaxed);
}

qint64 EvaluationScope::daysBeforeNowMs(qint64 days) {
    for (const auto& [d, ms] : state_.daysBefore)
        if (d == days) return ms;
    // The same wall-clock reading days earlier, placed by the offset in force then. When
    // no offset change lies within a day of it, that instant is the only one the reading
    // names; otherwise (a daylight-saving change near) Qt's calendar arithmetic decides.
    loadZoneRules();
    const qint64 wallMs = nowMs() + nowOffsetMs() - days * kDayMs;
    std::optional<qint64> ms;
    const qint64 probe = wallMs - nowOffsetMs();
    if (const std::optional<qint64> guess = OffsetAtMs(probe)) {
        const qint64 candidate = wallMs - *guess;
        // Offsets are looked up by the second: the probe's second is already known (it is
        // the candidate's whenever the offset then is the offset now, the common case).
        const auto offsetAt = [&](qint64 at) {
            return FloorSeconds(at) == FloorSeconds(probe) ? guess : OffsetAtMs(at);
        };
        if (offsetAt(candidate) == guess && offsetAt(candidate - kDayMs) == guess &&
            offsetAt(candidate + kDayMs) == guess)
            ms = candidate;
    }
    if (!ms) ms = now().addDays(-days).toMSecsSinceEpoch();
    state_.daysBefore.emplace_back(days, *ms);
    return *ms;
}

QDate EvaluationScope::localDate(std::int64_t seconds) {
    // The conditions of one evaluation ask about the item's three dates, many times over.
    for (const auto& [s, day] : state_.localDates)
        if (s == seconds) return day;
    loadZoneRules();
    const time_t secs = static_cast<time_t>(seconds);
    struct tm parts {};
    QDate day;
    if (::localtime_r(&secs, &parts))
        day = QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
    state_.localDates.emplace_back(seconds, day);
    return day;
}

}  // namespace vandrel
