// vandrel-gallery: shows the controls of the control libraries, one tab per library.
//   vandrel-gallery [--tab TITLE | --page N] [--screenshot FILE [--widget NAME] [--focus NAME] [--press NAME]]
// With --screenshot the window is drawn without a display (unless QT_QPA_PLATFORM says
// otherwise), saved as FILE (PNG) and the program ends (--widget: only the control of that
// object name, for a close look; --focus and --press show a control with the keyboard focus
// or held down by the mouse); QT_SCALE_FACTOR=2 gives a picture at
// device pixel ratio 2.
#include <QApplication>
#include <QCommandLineParser>
#include <QMouseEvent>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>
#include <cstring>

#include "glossy_controls_page.h"
#include "rule_editor_page.h"
#include "standard_controls_page.h"

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
    const QCommandLineOption focus(
        QStringLiteral("focus"),
        QStringLiteral("Give the control named <name> the keyboard focus."),
        QStringLiteral("name"));
    parser.addOption(focus);
    const QCommandLineOption press(
        QStringLiteral("press"), QStringLiteral("Hold the mouse down on the control named <name>."),
        QStringLiteral("name"));
    parser.addOption(press);
    const QCommandLineOption tab(QStringLiteral("tab"),
                                 QStringLiteral("Open the tab titled <title>."),
                                 QStringLiteral("title"));
    parser.addOption(tab);
    const QCommandLineOption page(QStringLiteral("page"), QStringLiteral("Open tab <N> (from 0)."),
                                  QStringLiteral("N"));
    parser.addOption(page);
    parser.process(app);

    QTabWidget tabs;
    tabs.setObjectName(QStringLiteral("galleryTabs"));
    tabs.setWindowTitle(QStringLiteral("Vandrel control gallery"));
    tabs.addTab(new GlossyControlsPage, QStringLiteral("Vitreon"));
    tabs.addTab(new StandardControlsPage, QStringLiteral("Standard controls"));
    tabs.addTab(new RuleEditorPage, QStringLiteral("Rule editor"));
    if (parser.isSet(page)) tabs.setCurrentIndex(parser.value(page).toInt());
    for (int i = 0; i < tabs.count(); ++i)
        if (tabs.tabText(i) == parser.value(tab)) tabs.setCurrentIndex(i);
    tabs.resize(tabs.sizeHint());
    tabs.show();

    if (parser.isSet(screenshot)) {
        tabs.activateWindow();
        QApplication::processEvents();
        if (auto* w = tabs.findChild<QWidget*>(parser.value(focus)))
            w->setFocus(Qt::TabFocusReason);
        if (auto* w = tabs.findChild<QWidget*>(parser.value(press))) {
            const QPointF at = QRectF(w->rect()).center();
            QMouseEvent down(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w, &down);
        }
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
