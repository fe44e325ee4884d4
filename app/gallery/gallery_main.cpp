// vandrel-gallery: shows the controls of the control libraries, one tab per library.
//   vandrel-gallery [--screenshot FILE [--widget NAME]]
// With --screenshot the window is drawn without a display (unless QT_QPA_PLATFORM says
// otherwise), saved as FILE (PNG) and the program ends (--widget: only the control of that
// object name, for a close look); QT_SCALE_FACTOR=2 gives a picture at
// device pixel ratio 2.
#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>
#include <cstring>

#include "glossy_controls_page.h"

int main(int argc, char** argv) {
    // The platform must be chosen before the application object exists.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vandrel-gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows the controls of Vandrel's control libraries."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window as <file> (PNG) and quit."),
        QStringLiteral("file"));
    parser.addOption(screenshot);
    const QCommandLineOption widget(
        QStringLiteral("widget"),
        QStringLiteral("With --screenshot: picture only the control named <name>."),
        QStringLiteral("name"));
    parser.addOption(widget);
    parser.process(app);

    QTabWidget tabs;
    tabs.setObjectName(QStringLiteral("galleryTabs"));
    tabs.setWindowTitle(QStringLiteral("Vandrel control gallery"));
    tabs.addTab(new GlossyControlsPage, QStringLiteral("Vitreon"));
    tabs.resize(tabs.sizeHint());
    tabs.show();

    if (parser.isSet(screenshot)) {
        QApplication::processEvents();
        const QString file = parser.value(screenshot);
        QWidget* subject = &tabs;
        if (parser.isSet(widget)) {
            subject = tabs.findChild<QWidget*>(parser.value(widget));
            if (subject == nullptr) {
                std::fprintf(stderr, "vandrel-gallery: no control named %s\n",
                             qPrintable(parser.value(widget)));
                return 2;
            }
        }
        if (!subject->grab().save(file, "PNG")) {
            std::fprintf(stderr, "vandrel-gallery: cannot write %s\n", qPrintable(file));
            return 1;
        }
        return 0;
    }
    return QApplication::exec();
}
