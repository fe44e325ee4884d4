#include "rules/rule_text.h"

#include <QUuid>

namespace vandrel {

QStringList SplitText(const QString& text, const char16_t* sep) {
    return text.split(QString::fromUtf16(sep), Qt::KeepEmptyParts);
}

QString FieldAt(const QStringList& fields, int i) {
    return i >= 0 && i < fields.size() ? fields.at(i) : QString();
}

QString StripSeparators(const QString& text) {
    static const char16_t* const kTokens[] = {
        kRuleListSep,    kRulePartSep, kConditionCellSep, kActionCellSep,  kConditionFieldSep,
        kActionFieldSep, kParamSep,    kFolderListSep,    kFolderFieldSep, kQuickFolderSep};
    QString out = text;
    // Removing one token may join pieces into another ("<|R<|CP|>U|>"), so repeat until
    // nothing changes.
    bool changed = true;
    while (changed) {
        const qsizetype before = out.size();
        for (const char16_t* token : kTokens) out.remove(QString::fromUtf16(token));
        out.remove(QLatin1Char('\r'));
        out.remove(QLatin1Char('\n'));
        changed = out.size() != before;
    }
    return out;
}

QString MakeParamList(const QString& kind, const QString& path) {
    const QStringView sep(kParamSep);
    QString list;
    list.reserve(kind.size() + sep.size() + path.size());
    list.append(kind).append(sep).append(path);
    return list;
}

// Every condition takes these apart for every item, so they avoid building a list.
QString ParamKind(const QString& paramList) {
    const QStringView sep(kParamSep);
    const qsizetype at = paramList.indexOf(sep);
    return at < 0 ? paramList : paramList.left(at);
}

QString ParamPath(const QString& paramList) {
    // The kind never holds the token, so everything after its first occurrence is the
    // path: a Linux name may itself hold "<|PA|>", and cutting it there would name another
    // item (the sibling "a" for "a<|PA|>b.pdf").
    const QStringView sep(kParamSep);
    const qsizetype at = paramList.indexOf(sep);
    if (at < 0) return QString();
    return paramList.mid(at + sep.size());
}

bool EqualsUpper(const QString& text, QLatin1String upperAscii) {
    // Plain ASCII text upper-cases letter by letter (asked for every condition of every
    // rule, so without building a string); only other text needs the full Unicode
    // upper-casing, where one letter may become two.
    const qsizetype n = text.size();
    bool equal = n == upperAscii.size();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = text.at(i).unicode();
        if (c >= 0x80) return text.toUpper() == upperAscii;
        if (c >= u'a' && c <= u'z') c = char16_t(c - (u'a' - u'A'));
        if (equal && c != char16_t(static_cast<unsigned char>(upperAscii.at(i).toLatin1())))
            equal = false;
    }
    return equal;
}

QString NewRuleGuid() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }

QString GuidFromText(const QString& text) {
    // A fixed name space, so derived identities never change between versions.
    static const QUuid kNamespace(QStringLiteral("6f1c8e0a-3b7d-4c52-9a41-2d5e8b7f0c36"));
    return QUuid::createUuidV5(kNamespace, text).toString(QUuid::WithoutBraces).toUpper();
}

bool IsGuidText(const QString& text) {
    if (text.size() != 36) return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (dash ? c != u'-' : !hex) return false;
    }
    return true;
}

bool IsRuleSelected(const QString& guid, const QString& selection) {
    if (selection == QLatin1String("all")) return true;
    if (guid.isEmpty()) return false;
    const qsizetype at = selection.indexOf(guid);
    if (at < 0 || at < 6) return false;
    return selection.mid(at - 6, 6) == QLatin1String("<guid>") &&
           selection.mid(at + 36, 7) == QLatin1String("</guid>");
}

}  // namespace vandrel
