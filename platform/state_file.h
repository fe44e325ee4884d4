// Reading and writing the one-line state files (rules.txt, folders.txt, qfolders.txt)
// and whole-file state (options.ini). Writes are atomic: a crash leaves the old or the
// new file, never a torn one. A file that exists but cannot be read is kept aside under
// NAME.unreadable-<time> so that a later save never replaces it with an empty list.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace vandrel {

enum class StateReadStatus { Ok, Missing, Unreadable };

struct StateReadResult {
    StateReadStatus status = StateReadStatus::Missing;
    QString text;           // the first line (without its line break) or the whole text
    QString keptAsidePath;  // where an unreadable file was moved, when it was
};

// Reads the first line of a UTF-8 text file. An unreadable file (permission, I/O error,
// invalid UTF-8) is moved aside and reported as Unreadable.
StateReadResult ReadStateLine(const QString& path);
// Reads the whole file as UTF-8, same rules.
StateReadResult ReadStateText(const QString& path);
// Writes text + "\r\n" atomically. False on failure (the old file stays).
bool WriteStateLine(const QString& path, const QString& text);
// Writes bytes atomically. False on failure (the old file stays).
bool WriteStateBytes(const QString& path, const QByteArray& bytes);
// Moves path aside to path.unreadable-<yyyyMMddHHmmss>; the new path, or empty.
QString KeepAside(const QString& path);

}  // namespace vandrel
