#include "conditions/condition_kind.h"

#include "rules/rule_text.h"

namespace vandrel {

namespace {

struct KindList {
    const char* key;
    const char* extensions;
};

constexpr KindList kKinds[] = {
    {"OFFICE DOCUMENT", "doc,xls,ppt,mdb,vsd,prj"},
    {"PLAIN TEXT", "txt"},
    {"MUSIC", "mp3,wav,ape,wma"},
    {"VIDEO", "mov,mpeg,mpg,wmv,avi,asf,flv,swf"},
    {"IMAGE", "jpg,bmp,png,tiff,gif"},
    {"SHORTCUT", "lnk"},
};

}  // namespace

QStringList ConditionKind::kindEntries() {
    return {QStringLiteral("Office Document"), QStringLiteral("Folder"),
            QStringLiteral("Plain Text"),      QStringLiteral("Music"),
            QStringLiteral("Video"),           QStringLiteral("Image"),
            QStringLiteral("Shortcut")};
}

bool ConditionKind::DoCheck(const QString& paramList) {
    const QString itemKind = ParamKind(paramList).toUpper();
    // Folders carry an extension that no list holds.
    const QString ext = itemKind == QLatin1String("FILE")
                            ? ExtensionPart(ParamPath(paramList)).toUpper()
                            : QStringLiteral("NOEXT");
    const QString key = kind.toUpper();
    if (key == QLatin1String("FOLDER")) return itemKind == QLatin1String("FOLDER");
    for (const KindList& k : kKinds)
        if (key == QLatin1String(k.key))
            return QString::fromLatin1(k.extensions).toUpper().contains(ext);
    return false;
}

QString ConditionKind::SaveToString() const {
    return kind + QString::fromUtf16(kConditionFieldSep) + QStringLiteral("forkind");
}

void ConditionKind::LoadFromString(const QString& payload) {
    kind = FieldAt(SplitText(payload, kConditionFieldSep), 0);
}

}  // namespace vandrel
