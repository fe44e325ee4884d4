#include "attributes/item_look.h"

#include <atomic>

#include "platform/path_text.h"
#include "platform/upper_text.h"

namespace vandrel {

ItemLook ItemLook::Take(const QString& path, FileSystem& fs) {
    // Ids only tell looks apart; a process-wide counter keeps them apart across threads.
    static std::atomic<std::uint64_t> lastId{0};
    ItemLook look;
    look.path_ = path;
    look.stat_ = StatItem(path, fs);
    look.id_ = ++lastId;
    return look;
}

std::int64_t ItemLook::seconds(Time which) const {
    const std::int64_t ns = which == Time::kCreated    ? CreatedNs(stat_)
                            : which == Time::kModified ? Nanoseconds(stat_.mtime)
                                                       : Nanoseconds(stat_.atime);
    // Rounded down, also before 1970, as the kernel splits its times.
    const std::int64_t s = ns / 1000000000;
    return ns % 1000000000 < 0 ? s - 1 : s;
}

const QDateTime& ItemLook::local(Time which) const {
    QDateTime& t = local_[static_cast<std::size_t>(which)];
    // Converted through Qt's local-time rules for that very instant, as the date
    // attributes always are (a summer date read in winter keeps its own wall-clock time).
    if (!t.isValid())
        t = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(seconds(which)), Qt::LocalTime);
    return t;
}

const QString& ItemLook::extension() const {
    if (!extensionKnown_) {
        extension_ = ExtensionPart(path_);
        upperExtension_ = UpperCased(extension_);
        extensionKnown_ = true;
    }
    return extension_;
}

const QString& ItemLook::upperExtension() const {
    (void)extension();
    return upperExtension_;
}

}  // namespace vandrel
