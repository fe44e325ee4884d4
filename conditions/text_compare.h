// The text comparisons shared by the name and attribute conditions: both sides upper-cased,
// nothing trimmed, no wildcards.
#pragma once

#include <QString>

namespace vandrel {

// The text operators: "is", "contains", "starts with", "ends with"; kNone for any other.
enum class TextOperator { kNone, kIs, kContains, kStartsWith, kEndsWith };

// The operator an operator text (any case) names; read once, not for every item.
TextOperator TextOperatorOf(const QString& op);

// op (any case): "is", "contains", "starts with", "ends with"; any other operator is false.
// upperValue and upperText: both already upper-cased.
bool CompareByOperator(const QString& op, const QString& upperValue, const QString& upperText);
bool CompareByOperator(TextOperator op, const QString& upperValue, const QString& upperText);

// haystack.contains(needle), case-sensitive, for the short texts of names, extensions and
// lists: a plain scan costs a fraction of Qt's general search. An empty needle is found.
bool ContainsText(QStringView haystack, QStringView needle);

// Rounds to the nearest whole number, exact halves to the even neighbour.
qint64 DivideRoundHalfEven(qint64 value, qint64 divisor);

}  // namespace vandrel
