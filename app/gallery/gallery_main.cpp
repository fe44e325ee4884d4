// vandrel-gallery: shows the controls of the control libraries, one tab per library.
//   vandrel-gallery [--tab TITLE | --page N] [--focus NAME] [--press NAME]
//                   [--settings-tab N] [--screenshot FILE [--widget NAME]]
// With --screenshot the window is drawn without a display (unless QT_QPA_PLATFORM says
// otherwise), saved as FILE (PNG) and the program ends (--widget: only the control of that
// object name, for a close look; --focus and --press show a control with the keyboard focus
// or held down by the mouse); QT_SCALE_FACTOR=2 gives a picture at device pixel ratio 2.
#include <QApplication>
#include <QCommandLineParser>
#include <QMouseEvent>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/view/form_rules_setting.h"
#include "desktop_windows_page.h"
#include "glossy_controls_page.h"
#include "rule_editor_page.h"
#include "settings_pieces_page.h"
#include "settings_window_page.h"
#include "standard_controls_page.h"

namespace {

QWidget* FindNamed(QWidget& root, const QString& name) {
    QWidget* w = root.findChild<QWidget*>(name);
    if (w == nullptr)
        std::fprintf(stderr, "vandrel-gallery: no control named %s\n", qUtf8Printable(name));
    return w;
}

}  // namespace

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
    QApplication::setApplicationDisplayName(QStringLiteral("Vandrel control gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows the controls of Vandrel's control libraries."));
    parser.addHelpOption();
    const QCommandLineOption page(QStringLiteral("page"), QStringLiteral("Tab to show."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window as <file> (PNG) and quit."),
        QStringLiteral("file"));
    const QCommandLineOption widget(
        QStringLiteral("widget"),
        QStringLiteral("With --screenshot: picture only the control named <name>."),
        QStringLiteral("name"));
    const QCommandLineOption focus(
        QStringLiteral("focus"),
        QStringLiteral("Give the control named <name> the keyboard focus."),
        QStringLiteral("name"));
    const QCommandLineOption press(
        QStringLiteral("press"), QStringLiteral("Hold the mouse down on the control named <name>."),
        QStringLiteral("name"));
    const QCommandLineOption tab(QStringLiteral("tab"),
                                 QStringLiteral("Open the tab titled <title>."),
                                 QStringLiteral("title"));
    const QCommandLineOption settingsTab(
        QStringLiteral("settings-tab"),
        QStringLiteral("On the settings window page: choose tab <n> (1 to 4)."),
        QStringLiteral("n"), QStringLiteral("1"));
    for (const QCommandLineOption* o :
         {&page, &tab, &screenshot, &widget, &focus, &press, &settingsTab})
        parser.addOption(*o);
    parser.process(app);

    QTabWidget tabs;
    tabs.setObjectName(QStringLiteral("galleryTabs"));
    tabs.setWindowTitle(QStringLiteral("Vandrel control gallery"));
    tabs.addTab(new StandardControlsPage, QStringLiteral("Standard controls"));
    tabs.addTab(new GlossyControlsPage, QStringLiteral("Glossy controls"));
    tabs.addTab(new RuleEditorPage, QStringLiteral("Rule editor"));
    tabs.addTab(new SettingsPiecesPage, QStringLiteral("Settings pieces"));
    auto* settingsPage = new SettingsWindowPage;
    tabs.addTab(settingsPage, QStringLiteral("Settings window"));
    tabs.addTab(new DesktopWindowsPage, QStringLiteral("Desktop windows"));
    settingsPage->showTab(parser.value(settingsTab).toInt());
    tabs.setCurrentIndex(parser.value(page).toInt());
    for (int i = 0; i < tabs.count(); ++i)
        if (tabs.tabText(i) == parser.value(tab)) tabs.setCurrentIndex(i);
    tabs.resize(tabs.sizeHint().expandedTo(QSize(760, 0)));
    tabs.show();

    QWidget* focusTarget = nullptr;
    if (parser.isSet(focus) && (focusTarget = FindNamed(tabs, parser.value(focus))) == nullptr)
        return 2;
    QWidget* pressTarget = nullptr;
    if (parser.isSet(press) && (pressTarget = FindNamed(tabs, parser.value(press))) == nullptr)
        return 2;
    QWidget* subject = &tabs;
    if (parser.isSet(widget) && (subject = FindNamed(tabs, parser.value(widget))) == nullptr)
        return 2;
    tabs.activateWindow();
    if (focusTarget != nullptr) focusTarget->setFocus(Qt::TabFocusReason);

    if (!parser.isSet(screenshot)) return QApplication::exec();

    const QString file = parser.value(screenshot);
    int status = 1;
    // Once the first layout and paint have happened.
    // The log tab's page arrives from its reader thread within a few milliseconds.
    QTimer::singleShot(300, &app, [&] {
        // The window is active by now (it may not have been when the focus was first set).
        if (focusTarget != nullptr) focusTarget->setFocus(Qt::TabFocusReason);
        if (pressTarget != nullptr) {
            const QPointF at = QRectF(pressTarget->rect()).center();
            QMouseEvent down(QEvent::MouseButtonPress, at, pressTarget->mapToGlobal(at),
                             Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(pressTarget, &down);
        }
        if (subject->grab().save(file, "PNG")) {
            status = 0;
        } else {
            std::fprintf(stderr, "vandrel-gallery: cannot write %s\n", qUtf8Printable(file));
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
