// Reading and writing the one-line state files (rules.txt, folders.txt, qfolders.txt)
// and whole-file state (options.ini). Writes are atomic: a crash leaves the old or the
// new file, never a torn one. A file that exists but is not text of its shape (an I/O
// error, a NUL byte, UTF-16, invalid UTF-8, or what the caller's check refuses) is kept
// aside under NAME.unreadable-<time> so that a later save never replaces it with an empty
// list, and so that garbage is never loaded as data.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace vandrel {

enum class StateReadStatus { Ok, Missing, Unreadable };

struct StateReadResult {
    StateReadStatus status = StateReadStatus::Missing;
    QString text;           // the first line (without its line break) or the whole text
    QString problem;        // why an unreadable file was refused ("a NUL byte", ...)
    QString keptAsidePath;  // where an unreadable file was moved, when it was
};

// A check of a file's decoded text: empty when the text has the file's shape, else what
// is wrong with it, for the user ("row 2 has no folder path").
using StateTextCheck = std::function<QString(const QString& text)>;

// Reads the first line of a UTF-8 text file. A damaged file (see above; check sees the
// first line) is moved aside under the data folder's state lock, so that it is never
// confused with a good file another writer has just put in its place.
StateReadResult ReadStateLine(const QString& path, const StateTextCheck& check = {});
// Reads the whole file as UTF-8, same rules.
StateReadResult ReadStateText(const QString& path, const StateTextCheck& check = {});
// As the two above, for a caller that already holds the folder's StateLock.
StateReadResult ReadStateHoldingLock(const QString& path, bool firstLineOnly,
                                     const StateTextCheck& check);
// Writes text + "\r\n" atomically. False on failure (the old file stays).
bool WriteStateLine(const QString& path, const QString& text);
// Writes bytes atomically. False on failure (the old file stays).
bool WriteStateBytes(const QString& path, const QByteArray& bytes);
// Moves path aside to path.unreadable-<yyyyMMddHHmmss>; the new path, or empty.
QString KeepAside(const QString& path);
// What keeps bytes from being a state file's text: a NUL byte, UTF-16, invalid UTF-8.
// Empty when they are UTF-8 text.
QString TextEncodingProblem(const QByteArray& bytes);

}  // namespace vandrel
