// What an action that can be undone records beside its log row, so that undo knows the
// entry at the row's destination is still the one the action put there: its device and
// inode, and for anything but a folder its size and modification time. Also where a
// "replace" moved the item that held the name, the outermost folder the action created,
// and whether the action put the item into the trash or took it out. Stored as a small
// JSON text in the log's undomark column; an empty or unreadable text is no mark.
#pragma once

#include <QString>
#include <optional>

#include "platform/file_system.h"

namespace vandrel {

// One entry as undo recognises it.
struct ItemIdentity {
    EntryType type = EntryType::kOther;
    qint64 dev = 0;
    qint64 ino = 0;
    qint64 size = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;

    // The entry at path itself (a link is not followed); nothing when there is none.
    static std::optional<ItemIdentity> Of(FileSystem& fs, const QString& path);
    // The same entry, unchanged: a folder keeps its device and inode (what is inside goes
    // with it); anything else also its size and modification time. (Not the change time:
    // every rename moves it.)
    bool sameAs(const ItemIdentity& now) const;
    QString toText() const;
    static std::optional<ItemIdentity> FromText(const QString& text);
};

class UndoMark {
  public:
    enum class Trash { kNone, kPutIn, kTakenOut };

    // Whether undo has anything to go by (the item's identity was recorded).
    bool valid() const { return item_.has_value(); }
    const std::optional<ItemIdentity>& item() const { return item_; }
    void setItem(const std::optional<ItemIdentity>& item) { item_ = item; }
    // Replace: the item that held the name, now at aside.
    const QString& aside() const { return aside_; }
    const std::optional<ItemIdentity>& asideItem() const { return asideItem_; }
    void setAside(const QString& path, const std::optional<ItemIdentity>& item);
    // The outermost folder the action created on the way to its destination.
    const QString& madeFolder() const { return made_; }
    void setMadeFolder(const QString& path) { made_ = path; }
    Trash trash() const { return trash_; }
    void setTrash(Trash trash) { trash_ = trash; }

    // Empty for a mark without an item: nothing to record.
    QString toText() const;
    static UndoMark FromText(const QString& text);
    // The mark of the entry now at path (after an action put it there).
    static UndoMark ForPath(FileSystem& fs, const QString& path);

  private:
    std::optional<ItemIdentity> item_;
    QString aside_;
    std::optional<ItemIdentity> asideItem_;
    QString made_;
    Trash trash_ = Trash::kNone;
};

}  // namespace vandrel
