// Starting Vandrel when the user logs on: an XDG autostart entry "vandrel.desktop" in
// the user's autostart folder ($XDG_CONFIG_HOME/autostart). Removing the entry sends it
// to the trash. Not thread-safe; used from the thread that owns the application state.
#pragma once

#include <QString>

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

    // Writes the entry (atomically) so that program is started at log-on, creating the
    // folder when missing. An existing entry is replaced. False when it could not be
    // written.
    bool Install(const QString& program) const;
    // Sends an existing entry to the trash (or deletes it when the trash refuses; the
    // entry is our own generated file). Nothing to do when there is no entry: true.
    bool Remove() const;

    // The text of the entry for program.
    static QString EntryText(const QString& program);

  private:
    QString folder_;
};

// Sends a file to the freedesktop trash, making sure the user's data folder exists first
// (without it the trash would be created in the working folder). False when it could not.
bool MoveToTrash(const QString& path);

}  // namespace vandrel
