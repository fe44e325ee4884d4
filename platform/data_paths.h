// Where Vandrel keeps its state: one data folder (--data-dir, else ~/.config/vandrel)
// holding rules.txt, folders.txt, qfolders.txt, options.ini and log.db.
#pragma once

#include <QString>

namespace vandrel {

class DataPaths {
  public:
    // dir: the data folder; empty means the default XDG location.
    explicit DataPaths(const QString& dir = QString());

    const QString& dir() const { return dir_; }
    QString rulesFile() const { return file(QStringLiteral("rules.txt")); }
    QString foldersFile() const { return file(QStringLiteral("folders.txt")); }
    QString quickFoldersFile() const { return file(QStringLiteral("qfolders.txt")); }
    QString optionsFile() const { return file(QStringLiteral("options.ini")); }
    QString logFile() const { return file(QStringLiteral("log.db")); }
    QString file(const QString& name) const { return dir_ + QLatin1Char('/') + name; }

    // Creates the folder when missing. False when it cannot be created or is no folder.
    bool ensureExists() const;

    static QString defaultDir();

  private:
    QString dir_;
};

}  // namespace vandrel
