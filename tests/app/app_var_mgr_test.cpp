#include "app/app_var_mgr.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include "platform/ini_file.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The key lines of the startup section, in file order.
QStringList StartupLines(const QString& path) {
    QStringList lines =
        QString::fromUtf8(ReadFile(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const qsizetype at = lines.indexOf("[startup]");
    if (at < 0) return {};
    QStringList out;
    for (qsizetype i = at + 1; i < lines.size() && !lines.at(i).startsWith(QLatin1Char('[')); ++i)
        out << lines.at(i);
    return out;
}

TEST(AppVarMgr, ReadsValuesLeniently) {
    struct Case {
        const char* text;
        bool start, setting, basket;
        qint32 top, left;
    } cases[] = {
        {"[startup]\nStartWin=True\nsettingShow=FALSE\nbasketShow=true\nbasketTop=300\nbasketLeft=-"
         "45\n",
         true, false, true, 300, -45},
        {"[STARTUP]\r\nstartwin = 1\r\nSETTINGSHOW=-1\r\nbasketShow=0\r\nbasketTop= 12 \r\n", true,
         true, false, 12, kDefaultBasketLeft},
        {"[startup]\nStartWin=yes\nsettingShow=\nbasketTop=9999999999\nbasketLeft=abc\n", false,
         false, false, kDefaultBasketTop, kDefaultBasketLeft},
        {nullptr, false, false, false, kDefaultBasketTop, kDefaultBasketLeft},  // no file
    };
    for (const Case& c : cases) {
        TempDir tmp;
        const QString ini = tmp.file("options.ini");
        ASSERT_TRUE(!c.text || WriteFile(ini, c.text));
        AppVarMgr vars(ini, Autostart(tmp.file("auto")));
        SCOPED_TRACE(c.text ? c.text : "no file");
        EXPECT_EQ(vars.startWithWindows(), c.start);
        EXPECT_EQ(vars.settingWinShow(), c.setting);
        EXPECT_EQ(vars.basketShow(), c.basket);
        EXPECT_EQ(vars.basketTop(), c.top);
        EXPECT_EQ(vars.basketLeft(), c.left);
        EXPECT_EQ(QFile::exists(ini), c.text != nullptr);  // reading alone writes nothing
    }
}

TEST(AppVarMgr, DamagedFileIsKeptAsideAndAFailedSaveIsReported) {
    TempDir tmp;
    const QString ini = tmp.file("options.ini");
    ASSERT_TRUE(WriteFile(ini, QByteArray("[startup]\nStartWin=True\n\xff\xfe\x80garbage")));
    AppVarMgr vars(ini, Autostart(tmp.file("auto")));
    EXPECT_FALSE(vars.startWithWindows());
    EXPECT_EQ(vars.basketLeft(), kDefaultBasketLeft);
    const QStringList aside = QDir(tmp.path()).entryList({"options.ini.unreadable-*"});
    ASSERT_EQ(aside.size(), 1);
    vars.setBasketTop(77);
    EXPECT_TRUE(vars.lastSaveOk());
    EXPECT_EQ(ReadProfileString(ini, "startup", "basketTop"), "77");
    // The damaged original is still there, untouched.
    EXPECT_TRUE(ReadFile(tmp.file(aside.first())).contains("garbage"));

    const QString nowhere = tmp.file("no/such/folder/options.ini");
    AppVarMgr unwritable(nowhere, Autostart(tmp.file("auto")));
    QStringList failed;
    QObject::connect(&unwritable, &AppVarMgr::optionsSaveFailed,
                     [&](const QString& p) { failed << p; });
    unwritable.setBasketLeft(1);
    EXPECT_FALSE(unwritable.lastSaveOk());
    EXPECT_EQ(failed, QStringList{nowhere});
    EXPECT_EQ(unwritable.basketLeft(), 1);
}

TEST(AppVarMgr, EveryChangeRewritesAllKeysInOrder) {
    TempDir tmp;
    const QString ini = tmp.file("options.ini");
    // A file with the keys out of order, an unknown key and another section.
    ASSERT_TRUE(
        WriteFile(ini, "[startup]\nbasketLeft=5\nextra=kept\nStartWin=False\n[window]\nx=1\n"));
    AppVarMgr vars(ini, Autostart(tmp.file("auto")));
    vars.setBasketLeft(1234);
    EXPECT_EQ(StartupLines(ini),
              (QStringList{"StartWin=False", "settingShow=False", "basketShow=False",
                           QStringLiteral("basketTop=%1").arg(kDefaultBasketTop), "basketLeft=1234",
                           "extra=kept"}));
    EXPECT_EQ(ReadProfileString(ini, "window", "x"), "1");

    vars.setBasketShow(true);
    vars.setBasketTop(-300);
    vars.setSettingWinShow(true);
    EXPECT_EQ(StartupLines(ini).mid(0, 5),
              (QStringList{"StartWin=False", "settingShow=True", "basketShow=True",
                           "basketTop=-300", "basketLeft=1234"}));
    // Run flags are never saved.
    vars.setDropTaskRunning(true);
    vars.setAutoTaskRunning(true);
    EXPECT_EQ(StartupLines(ini).size(), 6);
}

TEST(AppVarMgr, SettingsWindowRefusedDuringAutomaticBatch) {
    TempDir tmp;
    const QString ini = tmp.file("options.ini");
    AppVarMgr vars(ini, Autostart(tmp.file("auto")));
    QList<bool> running;
    QObject::connect(&vars, &AppVarMgr::autoTaskRunningChanged, [&](bool v) { running << v; });
    int shownSignals = 0, refusals = 0;
    QObject::connect(&vars, &AppVarMgr::settingWinShowChanged, [&](bool) { ++shownSignals; });
    QObject::connect(&vars, &AppVarMgr::settingWinShowRefused, [&] { ++refusals; });
    vars.setAutoTaskRunning(true);
    vars.setSettingWinShow(true);
    EXPECT_FALSE(vars.settingWinShow());
    EXPECT_EQ(ReadProfileString(ini, "startup", "settingShow"), "False");
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(shownSignals, 0);
    vars.setAutoTaskRunning(false);
    vars.setSettingWinShow(true);
    EXPECT_TRUE(vars.settingWinShow());
    EXPECT_EQ(shownSignals, 1);
    EXPECT_EQ(running, (QList<bool>{true, false}));
}

class StartWithWindowsTest : public ::testing::Test {
  protected:
    // The trash lives under the user's data folder: point the home into the test.
    void SetUp() override { qputenv("HOME", home_.path().toUtf8()); }
    void TearDown() override { qputenv("HOME", oldHome_); }
    TempDir home_;
    QByteArray oldHome_ = qgetenv("HOME");
};

TEST_F(StartWithWindowsTest, EntryCreatedAndSentToTrash) {
    TempDir tmp;
    const QString autostartDir = tmp.file("config/autostart");
    AppVarMgr vars(tmp.file("options.ini"), Autostart(autostartDir), "/opt/My Apps/vandrel");
    const QString entry = autostartDir + "/vandrel.desktop";

    // Off with no entry: nothing happens, nothing is reported.
    vars.setStartWithWindows(false);
    EXPECT_TRUE(QDir(autostartDir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    vars.setStartWithWindows(true);
    ASSERT_TRUE(QFile::exists(entry));
    const QString text = QString::fromUtf8(ReadFile(entry));
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/My Apps/vandrel\"\n"));
    EXPECT_EQ(ReadProfileString(vars.optionsPath(), "startup", "StartWin"), "True");

    vars.setStartWithWindows(false);
    EXPECT_FALSE(QFile::exists(entry));
    // The entry went to the trash of the (test) home, not into the working folder.
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    ASSERT_TRUE(dataDir.startsWith(home_.path())) << dataDir.toStdString();
    bool inTrash = false;
    QDirIterator it(dataDir, {"vandrel*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) inTrash = inTrash || it.next().contains("/Trash/files/");
    EXPECT_TRUE(inTrash);
    EXPECT_FALSE(QDir(QDir::currentPath()).exists("files") &&
                 QDir(QDir::currentPath()).exists("info"));
}

TEST(Autostart, ExecLineQuoting) {
    const QString text = Autostart::EntryText("/x/a\"b$c`d\\e%f", {"--data-dir", "/d/my $x"});
    EXPECT_TRUE(
        text.contains("\nExec=\"/x/a\\\"b\\$c\\`d\\\\e%%f\" \"--data-dir\" \"/d/my \\$x\"\n"))
        << text.toStdString();
    TempDir tmp;
    Autostart a(tmp.file("auto"));
    EXPECT_FALSE(a.Install("/bin/evil\nExec=rm"));
    EXPECT_FALSE(a.Install("/bin/vandrel", {"--data-dir", "/d\nExec=rm"}));
    EXPECT_FALSE(a.isInstalled());
}

}  // namespace
}  // namespace vandrel
