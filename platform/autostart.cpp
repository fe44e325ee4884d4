#include "platform/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/state_file.h"

namespace vandrel {

namespace {

// Quotes an Exec argument as desktop entries require: inside double quotes, the
// characters " ` $ and \ are escaped with a backslash; a literal "%" is doubled.
QString QuoteExecArg(const QString& arg) {
    QString out;
    out.reserve(arg.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : arg) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('%')) out += QLatin1Char('%');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

}  // namespace

Autostart::Autostart(const QString& folder)
    : folder_(folder.isEmpty() ? DefaultFolder() : folder) {}

QString Autostart::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

QString Autostart::entryPath() const { return folder_ + QStringLiteral("/vandrel.desktop"); }

bool Autostart::isInstalled() const { return QFileInfo(entryPath()).isFile(); }

QString Autostart::EntryText(const QString& program, const QStringList& arguments) {
    QString exec = QuoteExecArg(program);
    for (const QString& arg : arguments) exec += QLatin1Char(' ') + QuoteExecArg(arg);
    // Desktop entry values are single lines; a program path with a line break cannot be
    // expressed and is refused by Install.
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Vandrel\n"
               "Comment=Organizes files by your rules\n"
               "Exec=%1\n"
               "Icon=vandrel\n"
               "Terminal=false\n"
               "X-GNOME-Autostart-enabled=true\n")
        .arg(exec);
}

bool Autostart::Install(const QString& program, const QStringList& arguments) const {
    if (program.isEmpty()) return false;
    QStringList texts = arguments;
    texts << program;
    for (const QString& text : texts)
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) return false;
    if (!QDir().mkpath(folder_)) return false;
    return WriteStateBytes(entryPath(), EntryText(program, arguments).toUtf8());
}

bool Autostart::Remove() const {
    const QString path = entryPath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return true;
    if (MoveToTrash(path)) return true;
    return QFile::remove(path);
}

bool MoveToTrash(const QString& path) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data)) return false;
    QFile file(path);
    return file.moveToTrash();
}

}  // namespace vandrel
