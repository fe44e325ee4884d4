#include "platform/state_store.h"

#include <QFileInfo>

namespace vandrel {

StateUpdateResult StateStore::update(const QString& path, bool firstLineOnly,
                                     const StateTextCheck& check, const Change& change) const {
    StateUpdateResult result;
    StateLock lock(QFileInfo(path).absolutePath());
    if (!lock.lock()) {
        result.status = StateUpdateStatus::LockFailed;
        result.error = lock.error();
        return result;
    }
    result.read = ReadStateHoldingLock(path, firstLineOnly, check);
    if (result.read.status == StateReadStatus::Unreadable) {
        result.status = StateUpdateStatus::Unreadable;
        return result;
    }
    QString text = result.read.text;
    const bool wanted = change(text);
    if (lockedHook_) lockedHook_();
    // A missing file that would be written empty stays missing: it reads the same.
    if (!wanted || text == result.read.text) {
        result.status = StateUpdateStatus::Unchanged;
        return result;
    }
    const bool written =
        firstLineOnly ? WriteStateLine(path, text) : WriteStateBytes(path, text.toUtf8());
    result.status = written ? StateUpdateStatus::Written : StateUpdateStatus::WriteFailed;
    return result;
}

}  // namespace vandrel
