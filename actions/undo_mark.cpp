#include "actions/undo_mark.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace vandrel {

namespace {

QChar TypeLetter(EntryType type) {
    switch (type) {
        case EntryType::kFile:
            return QLatin1Char('f');
        case EntryType::kFolder:
            return QLatin1Char('d');
        case EntryType::kSymlink:
            return QLatin1Char('l');
        case EntryType::kOther:
            break;
    }
    return QLatin1Char('o');
}

}  // namespace

std::optional<ItemIdentity> ItemIdentity::Of(FileSystem& fs, const QString& path) {
    const FsResult<EntryInfo> info = fs.lstat(path);
    if (!info.ok()) return std::nullopt;
    const EntryInfo& e = info.value();
    return ItemIdentity{e.type,         qint64(e.dev),          qint64(e.ino),
                        qint64(e.size), qint64(e.mtime.tv_sec), qint64(e.mtime.tv_nsec)};
}

bool ItemIdentity::sameAs(const ItemIdentity& now) const {
    if (type != now.type || dev != now.dev || ino != now.ino) return false;
    return type == EntryType::kFolder ||
           (size == now.size && mtimeSec == now.mtimeSec && mtimeNsec == now.mtimeNsec);
}

// "f:DEV:INO:SIZE:SEC:NSEC" (decimal): 64-bit values do not survive a JSON number.
QString ItemIdentity::toText() const {
    return QStringList{QString(TypeLetter(type)), QString::number(dev),
                       QString::number(ino),      QString::number(size),
                       QString::number(mtimeSec), QString::number(mtimeNsec)}
        .join(QLatin1Char(':'));
}

std::optional<ItemIdentity> ItemIdentity::FromText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 6 || parts.at(0).size() != 1) return std::nullopt;
    ItemIdentity id;
    const QChar letter = parts.at(0).at(0);
    if (letter == QLatin1Char('f'))
        id.type = EntryType::kFile;
    else if (letter == QLatin1Char('d'))
        id.type = EntryType::kFolder;
    else if (letter == QLatin1Char('l'))
        id.type = EntryType::kSymlink;
    else
        return std::nullopt;
    qint64* fields[] = {&id.dev, &id.ino, &id.size, &id.mtimeSec, &id.mtimeNsec};
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        *fields[i] = parts.at(i + 1).toLongLong(&ok);
        if (!ok) return std::nullopt;
    }
    return id;
}

void UndoMark::setAside(const QString& path, const std::optional<ItemIdentity>& item) {
    aside_ = path;
    asideItem_ = item;
}

QString UndoMark::toText() const {
    if (!item_) return QString();
    QJsonObject o;
    o.insert(QStringLiteral("id"), item_->toText());
    if (!aside_.isEmpty() && asideItem_) {
        o.insert(QStringLiteral("aside"), aside_);
        o.insert(QStringLiteral("asideId"), asideItem_->toText());
    }
    if (!made_.isEmpty()) o.insert(QStringLiteral("made"), made_);
    if (trash_ != Trash::kNone)
        o.insert(QStringLiteral("trash"),
                 trash_ == Trash::kPutIn ? QStringLiteral("in") : QStringLiteral("out"));
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

UndoMark UndoMark::FromText(const QString& text) {
    UndoMark mark;
    if (text.isEmpty()) return mark;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isObject()) return mark;
    const QJsonObject o = doc.object();
    mark.item_ = ItemIdentity::FromText(o.value(QStringLiteral("id")).toString());
    const QString aside = o.value(QStringLiteral("aside")).toString();
    const std::optional<ItemIdentity> asideItem =
        ItemIdentity::FromText(o.value(QStringLiteral("asideId")).toString());
    if (!aside.isEmpty() && asideItem) mark.setAside(aside, asideItem);
    mark.made_ = o.value(QStringLiteral("made")).toString();
    const QString trash = o.value(QStringLiteral("trash")).toString();
    if (trash == QLatin1String("in")) mark.trash_ = Trash::kPutIn;
    if (trash == QLatin1String("out")) mark.trash_ = Trash::kTakenOut;
    return mark;
}

UndoMark UndoMark::ForPath(FileSystem& fs, const QString& path) {
    UndoMark mark;
    mark.item_ = ItemIdentity::Of(fs, path);
    return mark;
}

}  // namespace vandrel
