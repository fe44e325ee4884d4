// The settings window with its log opened later (as the desktop program starts it): the
// log tab opens the log itself, and a log that cannot be opened is told exactly once,
// whether the window was already on screen or shows afterwards.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app/app_var_mgr.h"
#include "app/view/form_rules_setting.h"
#include "log/log_manager.h"
#include "platform/clock.h"

namespace vandrel {
namespace {

TEST(FormRulesSetting, LogOpenedLaterIsOpenedWhenNeededAndItsProblemToldOnce) {
    const struct {
        const char* name;
        bool broken, shownFirst;
    } rows[] = {{"sound", false, true},
                {"broken, shown first", true, true},
                {"broken, shown after", true, false}};
    for (const auto& r : rows) {
        QTemporaryDir dir;
        ASSERT_TRUE(!r.broken || QDir(dir.path()).mkpath("log.db/x")) << r.name;
        FakeClock clock;
        AppVarMgr vars(dir.filePath("options.ini"), Autostart(dir.filePath("autostart")));
        FormRulesSetting w(DataPaths(dir.path()), vars, clock, nullptr,
                           SettingsState::LogOpening::Later);
        QStringList told;
        w.setDialogs({{}, {}, [&](QWidget*, const QString&, const QString& t) { told << t; }, {}});
        EXPECT_FALSE(w.state().log().isOpen()) << r.name;
        if (r.shownFirst) w.show();
        QCoreApplication::processEvents();
        w.chooseTab(3);  // the log tab needs the log
        for (int i = 0; i < 2; ++i) {
            w.hide();
            w.show();
            w.openLog();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(w.state().log().isOpen(), !r.broken) << r.name;
        ASSERT_EQ(told.size(), r.broken ? 1 : 0) << r.name;
        EXPECT_TRUE(!r.broken || told[0].contains("action log")) << r.name;
    }
}

}  // namespace
}  // namespace vandrel
