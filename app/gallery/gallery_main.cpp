// vandrel-gallery: the controls of the control libraries, one tab per library.
//   vandrel-gallery [--page N] [--focus OBJECTNAME] [--screenshot FILE]
// With --screenshot the window is drawn once (offscreen works) and saved as PNG; set
// QT_SCALE_FACTOR=2 for a device pixel ratio of 2.
#include <QApplication>
#include <QCommandLineParser>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "standard_controls_page.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vandrel-gallery"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vandrel control gallery"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption pageOption(QStringLiteral("page"), QStringLiteral("Tab to show."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption shotOption(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window as PNG and quit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption focusOption(QStringLiteral("focus"),
                                         QStringLiteral("Give the keyboard focus to a control."),
                                         QStringLiteral("OBJECTNAME"));
    parser.addOption(focusOption);
    parser.addOption(pageOption);
    parser.addOption(shotOption);
    parser.process(app);

    QTabWidget tabs;
    tabs.setObjectName(QStringLiteral("galleryTabs"));
    tabs.addTab(new StandardControlsPage, QStringLiteral("Standard controls"));
    tabs.setCurrentIndex(parser.value(pageOption).toInt());
    tabs.resize(tabs.sizeHint().expandedTo(QSize(760, 0)));
    tabs.show();
    QWidget* focusTarget = nullptr;
    if (parser.isSet(focusOption)) {
        focusTarget = tabs.findChild<QWidget*>(parser.value(focusOption));
        if (focusTarget == nullptr) {
            std::fprintf(stderr, "vandrel-gallery: no control named %s\n",
                         qUtf8Printable(parser.value(focusOption)));
            return 2;
        }
        tabs.activateWindow();
        focusTarget->setFocus(Qt::TabFocusReason);
    }

    if (!parser.isSet(shotOption)) return QApplication::exec();

    const QString file = parser.value(shotOption);
    int status = 1;
    // Once the first layout and paint have happened.
    QTimer::singleShot(50, &app, [&] {
        // The window is active by now (it may not have been when the focus was first set).
        if (focusTarget != nullptr) focusTarget->setFocus(Qt::TabFocusReason);
        if (tabs.grab().save(file, "PNG")) {
            status = 0;
        } else {
            std::fprintf(stderr, "vandrel-gallery: cannot write %s\n", qUtf8Printable(file));
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
