// "Date Created", "Date Last Modified", "Date Last Accessed": tests one of a file's dates
// against a fixed date ("is", "is before", "is after") or against a window that ends now
// ("is in the last" / "is not in the last" N minutes, hours, days or weeks). Folders never
// match. Not thread-safe.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "attributes/item_look.h"
#include "rules/engine_context.h"
#include "rules/field_snapshot.h"
#include "rules/i_condition_check.h"

namespace vandrel {

class EvaluationScope;

class ConditionDate final : public IConditionCheck {
  public:
    explicit ConditionDate(const EngineContext& ctx);

    // "date.created", "date.modified" or "date.accessed"; set from the selector text.
    void SetAttrCode(const QString& attrName) { attrCode_ = attrName; }
    const QString& attrCode() const { return attrCode_; }

    // Payload: operator <|CD|> number <|CD|> unit <|CD|> date. The date is written as
    // yyyy-MM-dd, or yyyy-MM-dd HH:mm:ss when it has a time of day; it is read back from
    // those forms, from yyyy-M-d, and from the locale's short date (and date-time) form.
    // A date text that reads as none of them is kept as it is and saved back unchanged;
    // meanwhile "is", "is before" and "is after" do not hold and loadProblem() says so.
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;

    // False for folders, for an unknown operator, when no attribute reader was given,
    // and, for the two window operators, when the number does not read as a number.
    bool DoCheck(const QString& paramList) override;

    // Editor and command-line input (separator tokens and line breaks removed).
    void setOperator(const QString& op);
    void setNumber(const QString& number);
    void setUnit(const QString& unit);
    void setDate(const QDateTime& date) {
        date_ = date;
        unreadDate_.reset();
        dateMs_.reset();
    }
    // The stored date text that could not be read, or nothing.
    const std::optional<QString>& unreadDate() const { return unreadDate_; }
    QString loadProblem() const override;
    const QString& op() const { return op_; }
    const QString& number() const { return number_; }
    const QString& unit() const { return unit_; }
    const QDateTime& date() const { return date_; }
    // Whether the date control (true) or the number and unit (false) are shown.
    bool showsDate() const;

    // Reads a stored date text; an invalid QDateTime when no form fits.
    static QDateTime ParseDateText(const QString& text);

  private:
    enum class Op { kNone, kIs, kBefore, kAfter, kInLast, kNotInLast };
    enum class Unit { kOther, kMinute, kHour, kDay, kWeek };
    // The operator, unit, number and date attribute as read for comparing: prepared once,
    // again only when one of them changes.
    struct Prepared {
        Op op = Op::kNone;
        Unit unit = Unit::kOther;
        std::optional<qint64> number;  // none when the number text is no whole number
        std::optional<ItemLook::Time> time;
    };
    const Prepared& prepared();
    // The file's date from look, by the operator; n: the window's number.
    bool compareInstants(EvaluationScope& scope, const ItemLook& look, ItemLook::Time which,
                         const Prepared& p, qint64 n);
    // The same with date-time values, for what the fast path does not cover (a folder
    // sent as a file, an unknown attribute, no date, a window beyond any calendar).
    bool compareDates(EvaluationScope& scope, const ItemLook& look, const Prepared& p, qint64 n);
    std::optional<ItemLook::Time> timeOf() const;
    // date_ as milliseconds since the epoch.
    qint64 dateMs(EvaluationScope& scope);

    EngineContext ctx_;
    QString attrCode_ = QStringLiteral("date.modified");
    QString op_ = QStringLiteral("is");
    QString number_ = QStringLiteral("1");
    QString unit_ = QStringLiteral("Minute");
    QDateTime date_;
    std::optional<QString> unreadDate_;
    FieldSnapshot<4> fields_;
    Prepared prepared_;
    std::optional<qint64> dateMs_;
    qint64 dateMsOffset_ = 0;
};

}  // namespace vandrel
