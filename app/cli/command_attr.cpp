// vandrel attr [NAME] PATH: the attribute values of one file or folder.
#include <QDir>
#include <QFileInfo>

#include "app/cli/commands.h"
#include "attributes/attribute_helper.h"

namespace vandrel {

namespace {

constexpr char kAttrUsage[] = "usage: vandrel attr [NAME] PATH";

QString AbsolutePath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Tag and property texts may hold line breaks or tabs; in the name-tab-value listing
// they would break the one-line-per-attribute form that scripts rely on.
QString OneLine(QString value) {
    for (QChar& c : value)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return value;
}

}  // namespace

int RunAttrCommand(CliContext& ctx, const QStringList& args) {
    if (args.isEmpty() || args.size() > 2)
        return ctx.fail(kExitUsage, QString::fromLatin1(kAttrUsage));
    AttributeHelper attributes;
    if (args.size() == 1) {
        const QString path = AbsolutePath(args.first());
        for (const QString& name : attributes.GetAttrList())
            ctx.out() << name << '\t' << OneLine(attributes.GetAttrValue(name, path)) << '\n';
        ctx.out().flush();
        return kExitOk;
    }
    const QString& name = args.at(0);
    if (!attributes.GetAttrList().contains(name, Qt::CaseInsensitive))
        return ctx.fail(kExitUsage,
                        QStringLiteral("unknown attribute '%1' (one of: %2)")
                            .arg(name, attributes.GetAttrList().join(QLatin1String(", "))));
    ctx.out() << attributes.GetAttrValue(name, AbsolutePath(args.at(1))) << '\n';
    ctx.out().flush();
    return kExitOk;
}

}  // namespace vandrel
