// Separator tokens of the persisted texts and the small pure helpers that build and
// take apart parameter lists and rule selections (the path pieces are in path_text.h). Pure
// functions; safe to call from any thread.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/path_text.h"

namespace vandrel {

// Separator tokens. Literal, never escaped, split on every occurrence.
inline constexpr char16_t kRuleListSep[] = u"<|RP|>";
inline constexpr char16_t kRulePartSep[] = u"<|RU|>";
inline constexpr char16_t kConditionCellSep[] = u"<|CP|>";
inline constexpr char16_t kActionCellSep[] = u"<|AP|>";
inline constexpr char16_t kConditionFieldSep[] = u"<|CD|>";
inline constexpr char16_t kActionFieldSep[] = u"<|AC|>";
inline constexpr char16_t kParamSep[] = u"<|PA|>";
inline constexpr char16_t kFolderListSep[] = u"<|FP|>";
inline constexpr char16_t kFolderFieldSep[] = u"<|FL|>";
inline constexpr char16_t kQuickFolderSep[] = u"<|QFS|>";

// Splits on every occurrence of sep, keeping empty pieces ("" gives one empty piece).
QStringList SplitText(const QString& text, const char16_t* sep);

// Field i of a split text, or the empty text when there are fewer fields.
QString FieldAt(const QStringList& fields, int i);

// Removes every separator token and every line break from text typed by the user, so that
// a saved rule always splits back into the same parts.
QString StripSeparators(const QString& text);

// Parameter list: kind + "<|PA|>" + path. The kind is the text before the first "<|PA|>"
// and the path everything after it, so a path holding the token travels intact.
QString MakeParamList(const QString& kind, const QString& path);
QString ParamKind(const QString& paramList);
QString ParamPath(const QString& paramList);

// True when text upper-cased equals upperAscii (an upper-case ASCII key such as "FILE").
bool EqualsUpper(const QString& text, QLatin1String upperAscii);

// A new rule GUID: 36 upper-case hexadecimal characters 8-4-4-4-12, no braces.
QString NewRuleGuid();
// A GUID of the same form derived from text: the same text always gives the same GUID.
QString GuidFromText(const QString& text);
// True when text is 36 hexadecimal characters (either case) in the groups 8-4-4-4-12.
bool IsGuidText(const QString& text);

// True when selection is exactly "all" or names guid between <guid> and </guid>
// (first occurrence only).
bool IsRuleSelected(const QString& guid, const QString& selection);

}  // namespace vandrel
