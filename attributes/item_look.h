// One look at an item, taken when the rules start on it and shared by every condition of
// every rule for that one evaluation: kind, identity, size and the three dates from a
// single stat, the dates as local date-times worked out on first use. A look lives for one
// evaluation of one item and is never kept past it, so a file changed between two
// evaluations is seen afresh; it never decides what an action may move or overwrite
// (actions look again). A value owned by one thread.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

#include "attributes/item_stat.h"

namespace vandrel {

class FileSystem;

class ItemLook {
  public:
    enum class Time { kCreated, kModified, kAccessed };

    // Looks at path once through fs (links followed; hidden names are not looked at).
    static ItemLook Take(const QString& path, FileSystem& fs);

    const QString& path() const { return path_; }
    const EntryInfo& stat() const { return stat_; }
    // Unique to this look within the process: content parsed during one evaluation is
    // reused within it only.
    std::uint64_t id() const { return id_; }
    // The date in whole seconds since the epoch (the part below the second dropped, as
    // the dates are shown and compared).
    std::int64_t seconds(Time which) const;
    // The same as a local date-time. Worked out on first use: asking for the time zone
    // costs the system a file look each time.
    const QDateTime& local(Time which) const;
    // The extension of the path (as ExtensionPart gives it) and the same upper-cased,
    // worked out on first use: every attribute condition asks.
    const QString& extension() const;
    const QString& upperExtension() const;

  private:
    QString path_;
    EntryInfo stat_;
    std::uint64_t id_ = 0;
    mutable std::array<QDateTime, 3> local_;
    mutable bool extensionKnown_ = false;
    mutable QString extension_;
    mutable QString upperExtension_;
};

}  // namespace vandrel
