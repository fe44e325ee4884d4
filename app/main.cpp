// Vandrel: the desktop program without a subcommand, headless with one. Which of the two
// is decided before any application object exists, so the command line never needs a
// display.
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <exception>

#include "app/cli/cli.h"
#include "app/view/desktop_program.h"
#include "platform/xwayland_choice.h"

namespace {

int Run(int argc, char** argv) {
    if (const int refused = vandrel::RefuseUndecodableArguments(argc, argv)) return refused;
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QFile::decodeName(argv[i]);
    const std::optional<QString> desktopDataDir = vandrel::DesktopDataDir(args);
    if (desktopDataDir && vandrel::HasDisplay()) {
        vandrel::PreferXWayland();
        return vandrel::RunDesktopProgram(argc, argv, *desktopDataDir);
    }
    if (desktopDataDir) {
        QTextStream(stderr) << "vandrel: no display for the desktop program (DISPLAY and "
                               "WAYLAND_DISPLAY are unset); give a command to work headless"
                            << Qt::endl;
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandrel"));
    args = QCoreApplication::arguments();
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
