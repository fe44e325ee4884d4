// Vandrel: headless when given a subcommand; the desktop program comes later.
#include <QCoreApplication>
#include <cstdio>
#include <exception>

#include "app/cli/cli.h"

namespace {

int Run(int argc, char** argv) {
    if (const int refused = vandrel::RefuseUndecodableArguments(argc, argv)) return refused;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandrel"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return vandrel::RunCli(args);
}

}  // namespace

int main(int argc, char** argv) {
    // Expected failures are values and never get here; an exception is a fault of the
    // program (or memory running out). Say so and exit non-zero: state files are only
    // ever replaced whole, and the log's side file is written take by take, so leaving
    // now loses nothing that was written.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vandrel: unexpected error: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "vandrel: unexpected error\n");
    }
    return 1;
}
