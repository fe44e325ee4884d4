// A small INI (profile) file reader and writer: sections of key=value lines. Section
// and key names compare without regard to case, as profile files always have; values are
// trimmed and lose one pair of surrounding quotes on reading. Key order within a section
// is kept as written. Files are read as UTF-8 and written atomically. Not thread-safe.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "platform/state_file.h"

namespace vandrel {

struct IniLoadResult;

class IniFile {
  public:
    // Parses INI text. Lines that are neither a section header, a key=value pair, a
    // comment (";" or "#") nor blank are ignored; keys before the first section belong to
    // the unnamed section "".
    static IniFile Parse(const QString& text);
    // Reads path. A missing file gives an empty IniFile with status Missing; an
    // unreadable one is kept aside (see ReadStateText) and gives an empty IniFile with
    // status Unreadable, the problem and where it was kept.
    static IniLoadResult Load(const QString& path);

    // The value, or nothing when the section or key is absent.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Sets the value, adding the section (at the end) and the key (at the end of its
    // section) when missing.
    void setValue(const QString& section, const QString& key, const QString& value);
    // Removes the key; nothing when absent.
    void removeKey(const QString& section, const QString& key);
    // The keys of a section in file order.
    QStringList keys(const QString& section) const;
    // Puts the named keys first in the section, in the given order (keys the section does
    // not have are skipped); the other keys follow in their present order.
    void orderKeys(const QString& section, const QStringList& order);

    // The file text: "[section]" lines and "key=value" lines, "\n" line ends.
    QString toText() const;
    // Writes the text atomically; false when it could not be written (the old file stays).
    bool save(const QString& path) const;

  private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;

    std::vector<Section> sections_;
};

// Profile-file access by path, one value at a time. ReadProfileString gives fallback when
// the file, section or key is absent. WriteProfileString creates the file, section and
// key as needed and rewrites the file atomically; false when it could not be written.
// Changes the INI file at path by read-modify-write under its data folder's state lock:
// change edits the file as it is on disk now, so keys and sections written meanwhile by
// another program are kept. A damaged file is kept aside first and the change applied to
// an empty one. False when the lock could not be had or the file not written.
bool UpdateIniFile(const QString& path, const std::function<void(IniFile&)>& change);

QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& fallback = QString());
bool WriteProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value);

// What IniFile::Load read: the file (empty unless status is Ok) and how the read went.
struct IniLoadResult {
    IniFile file;
    StateReadResult read;  // its text is not kept (the file holds it)
};

}  // namespace vandrel
