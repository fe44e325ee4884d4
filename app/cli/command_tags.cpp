// vandrel tags PATH: the nine texts the MP3 tag reader gives for one file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <string>
#include <utility>

#include "app/cli/commands.h"
#include "tagwell/tag_reader.h"

namespace vandrel {

int RunTagsCommand(CliContext& ctx, const QStringList& args) {
    if (args.size() != 1) return ctx.fail(kExitUsage, QStringLiteral("usage: vandrel tags PATH"));
    const QString path = QDir::cleanPath(QFileInfo(args.first()).absoluteFilePath());
    const QFileInfo info(path);
    // Only regular files are handed to the reader: a FIFO would block it, a folder has
    // nothing to read.
    if (!info.exists())
        return ctx.fail(kExitFailure, QStringLiteral("%1 does not exist").arg(path));
    if (!info.isFile())
        return ctx.fail(kExitFailure, QStringLiteral("%1 is not a regular file").arg(path));
    tagwell::TagReader reader;
    if (!reader.LoadMP3File(QFile::encodeName(path).toStdString()))
        return ctx.fail(kExitFailure, QStringLiteral("%1 cannot be read").arg(path));
    const std::pair<const char*, const std::string*> rows[] = {
        {"artist", &reader.ArtistString()},       {"album", &reader.AlbumString()},
        {"title", &reader.TitleString()},         {"track", &reader.TrackNumberString()},
        {"year", &reader.YearString()},           {"genre", &reader.GenreString()},
        {"length", &reader.LengthString()},       {"bitrate", &reader.BitrateString()},
        {"frequency", &reader.FrequencyString()},
    };
    for (const auto& [name, text] : rows) {
        QString value = QString::fromStdString(*text);
        for (QChar& c : value)
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
                c = QLatin1Char(' ');
        ctx.out() << name << '\t' << value << '\n';
    }
    ctx.out().flush();
    return kExitOk;
}

}  // namespace vandrel
