#include "platform/path_text.h"

namespace vandrel {

QString FileNamePart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString BaseNamePart(const QString& path) {
    const QString name = FileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString ExtensionPart(const QString& path) {
    const QString name = FileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.mid(dot + 1);
}

QString FolderPart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return QString();
    if (slash == 0) return QStringLiteral("/");
    return path.left(slash);
}

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString SanitizeFileName(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        switch (c.unicode()) {
            case '\\':
            case '/':
            case ':':
            case '*':
            case '?':
            case '<':
            case '>':
            case '|':
            case '"':
                c = QLatin1Char('-');
                break;
            default:
                break;
        }
    }
    return out;
}

bool IsHiddenName(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash + 1 < path.size() && path.at(slash + 1) == QLatin1Char('.');
}

}  // namespace vandrel
