// Vandrel: headless when given a subcommand; the desktop program comes later.
#include <QCoreApplication>

#include "app/cli/cli.h"

int main(int argc, char** argv) {
    if (const int refused = vandrel::RefuseUndecodableArguments(argc, argv)) return refused;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandrel"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return vandrel::RunCli(args);
}
