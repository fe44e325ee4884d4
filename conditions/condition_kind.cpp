#include "conditions/condition_kind.h"

#include "rules/param_parts.h"
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
    const ParamParts& item = PartsOf(paramList);
    // Folders carry an extension that no list holds.
    const QString ext = item.isFile ? item.upperExtension : QStringLiteral("NOEXT");
    const QString key = kind.toUpper();
    if (key == QLatin1String("FOLDER")) return item.isFolder;
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
