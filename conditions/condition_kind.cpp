#include "conditions/condition_kind.h"

#include <array>
#include <iterator>

#include "conditions/text_compare.h"
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
    // The lists upper-cased, once for the process.
    static const std::array<QString, std::size(kKinds)> kUpperLists = [] {
        std::array<QString, std::size(kKinds)> lists;
        for (std::size_t i = 0; i < lists.size(); ++i)
            lists[i] = QString::fromLatin1(kKinds[i].extensions).toUpper();
        return lists;
    }();
    if (!fields_.same(kind)) {
        const QString key = kind.toUpper();
        kindIndex_ = key == QLatin1String("FOLDER") ? kFolder : kUnknown;
        for (std::size_t i = 0; kindIndex_ == kUnknown && i < std::size(kKinds); ++i)
            if (key == QLatin1String(kKinds[i].key)) kindIndex_ = int(i);
    }
    const ParamParts& item = PartsOf(paramList);
    if (kindIndex_ == kFolder) return item.isFolder;
    if (kindIndex_ == kUnknown) return false;
    // Folders carry an extension that no list holds.
    static const QString kNoExtension = QStringLiteral("NOEXT");
    return ContainsText(kUpperLists[std::size_t(kindIndex_)],
                        item.isFile ? item.upperExtension : kNoExtension);
}

QString ConditionKind::SaveToString() const {
    return kind + QString::fromUtf16(kConditionFieldSep) + QStringLiteral("forkind");
}

void ConditionKind::LoadFromString(const QString& payload) {
    kind = FieldAt(SplitText(payload, kConditionFieldSep), 0);
}

}  // namespace vandrel
