// Starting Vandrel when the user logs on: an XDG autostart entry "vandrel.desktop" in
// the user's autostart folder ($XDG_CONFIG_HOME/autostart). Removing the entry sends it
// to the trash. Not thread-safe; used from the thread that owns the application state.
#pragma once

#include <QString>
#include <QStringList>

namespace vandrel {

class Autostart {
  public:
    // folder: the autostart folder; empty means the user's ($XDG_CONFIG_HOME/autostart).
    explicit Autostart(const QString& folder = QString());

    static QString DefaultFolder();
    const QString& folder() const { return folder_; }
    // folder() + "/vandrel.desktop"
    QString entryPath() const;
    bool isInstalled() const;

    // Writes the entry (atomically) so that program is started at log-on with arguments,
    // creating the folder when missing. An existing entry is replaced. False when it could
    // not be written, or program or an argument holds a line break.
    bool Install(const QString& program, const QStringList& arguments = {}) const;
    // Sends an existing entry to the trash (or deletes it when the trash refuses; the
    // entry is our own generated file). Nothing to do when there is no entry: true.
    bool Remove() const;

    // The text of the entry for program and its arguments.
    static QString EntryText(const QString& program, const QStringList& arguments = {});

  private:
    QString folder_;
};

// Sends a file to the freedesktop trash, making sure the user's data folder exists first
// (without it the trash would be created in the working folder). False when it could not.
bool MoveToTrash(const QString& path);

}  // namespace vandrel
