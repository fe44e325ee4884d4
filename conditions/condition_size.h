// "Size": compares a file's length in Byte, KB, MB or GB (each derived from the one
// before by dividing by 1024, rounding halves to even) with a whole number. Folders and
// hidden files never match. Payload: operator<|CD|>unit<|CD|>number.
#pragma once

#include <optional>

#include "rules/engine_context.h"
#include "rules/field_snapshot.h"
#include "rules/i_condition_check.h"

namespace vandrel {

class ConditionSize : public IConditionCheck {
  public:
    // ctx: where the item is looked at (the evaluation's shared look, or the file system).
    explicit ConditionSize(const EngineContext& ctx = EngineContext()) : ctx_(ctx) {}

    bool DoCheck(const QString& paramList) override;
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;

    // The length of bytes in the unit (any case; "BYTE", "KB", "MB", anything else GB).
    static qint64 SizeInUnit(qint64 bytes, const QString& unit);

    QString op = QStringLiteral("is");
    QString unit = QStringLiteral("Byte");
    QString number = QStringLiteral("1");

  private:
    enum class Op { kNone, kIs, kGreater, kLess };
    // op, unit and number as read for comparing: prepared once, again only when they
    // change. divisions: how often the size is divided by 1024 for the unit.
    struct Prepared {
        Op op = Op::kNone;
        int divisions = 0;
        std::optional<qint64> limit;  // none when the number is no usable number
    };
    const Prepared& prepared();
    static qint64 Divided(qint64 bytes, int divisions);

    EngineContext ctx_;
    FieldSnapshot<3> fields_;
    Prepared prepared_;
};

}  // namespace vandrel
