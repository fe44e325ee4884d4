#include "app/view/desktop_program.h"

#include <QApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>

#include "app/ui_thread_prompt.h"
#include "app/view/desktop_channel.h"
#include "app/view/form_start.h"
#include "basket/view/basket_picture.h"
#include "platform/clock.h"
#include "platform/data_paths.h"
#include "platform/single_instance.h"
#include "platform/stop_signals.h"
#include "platform/xwayland_choice.h"

namespace vandrel {

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int RunDesktopProgram(int& argc, char** argv, const QString& dataDir) {
    QApplication app(argc, argv);
    // Programs started by the rules get the session's own platform choice back.
    ForgetXWaylandChoice();
    QApplication::setApplicationName(QStringLiteral("vandrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vandrel"));
    QApplication::setWindowIcon(BasketPicture::trayIcon(false));
    // The program lives in the tray: hiding its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    const QString title = QStringLiteral("Vandrel");

    const DataPaths paths(dataDir);
    if (!paths.ensureExists()) {
        QMessageBox::critical(
            nullptr, title,
            QStringLiteral("The data folder %1 cannot be created or used.").arg(paths.dir()));
        return 1;
    }
    // The same lock as the headless scheduler: two schedulers on one data folder would
    // run each watched folder twice and write each other's state away.
    SingleInstance instance(paths.dir());
    if (!instance.tryAcquire()) {
        QMessageBox::information(nullptr, title,
                                 instance.error().isEmpty()
                                     ? QStringLiteral("Vandrel is already running.")
                                     : instance.error());
        return 1;
    }

    // Listening before the windows load, so no command line writes a file the program is
    // about to read; requests wait for attach() below.
    DesktopChannel channel(paths.dir());
    const DesktopServer::StartResult listening = channel.start();
    if (listening.status == DesktopServer::StartStatus::AlreadyRunning) {
        QMessageBox::information(nullptr, title, QStringLiteral("Vandrel is already running."));
        return 1;
    }
    if (listening.status == DesktopServer::StartStatus::Failed) {
        // The program still works; command-line changes are refused instead of handed over.
        qWarning("vandrel: the command line cannot reach this program: %s",
                 qPrintable(listening.error));
    }

    // Watched from the start: a stop asked for while the windows load waits in the pipe
    // and ends the program as soon as its event loop runs.
    StopSignals stopSignals;
    const bool stopWatched = stopSignals.install();
    FormStart start(paths, SystemClock::instance());
    channel.attach(start);
    std::unique_ptr<QSocketNotifier> stopNotifier;
    if (stopWatched) {
        stopNotifier =
            std::make_unique<QSocketNotifier>(stopSignals.readFd(), QSocketNotifier::Read);
        QObject::connect(stopNotifier.get(), &QSocketNotifier::activated, &start, [&] {
            stopSignals.drain();
            start.requestExit();
        });
    }
    // The session may end without asking again: what is held in memory goes to disk now.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &start,
                     [&start](QSessionManager&) { start.saveAll(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &start,
                     [&start] { start.prompt().shutdown(); });
    const int status = QApplication::exec();
    start.Unload();
    return status;
}

}  // namespace vandrel
