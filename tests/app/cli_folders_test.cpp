// The folder subcommands and the headless scheduler, through the real binary.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "folders/watched_folder.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Cli;
using test::MakeDir;
using test::ReadFile;
using test::WriteFile;

const QString kGuidA = QStringLiteral("0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");
const QString kGuidB = QStringLiteral("1B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");

// A rule that moves .txt files into dest.
QString MoveTxtRule(const QString& title, const QString& dest, const QString& guid) {
    return title + QStringLiteral("<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>") +
           dest + QStringLiteral("<|AC|>0<|AC|><//>date.current<//><|AC|>1<|RU|>") + guid;
}

// Waits until the process's stderr holds text (or the time is up); returns all stderr.
QString WaitForErr(QProcess& p, const QString& text, int timeoutMs, QString& err) {
    QElapsedTimer t;
    t.start();
    while (!err.contains(text) && t.elapsed() < timeoutMs) {
        p.waitForReadyRead(200);
        err += QString::fromUtf8(p.readAllStandardError());
        if (p.state() == QProcess::NotRunning) break;
    }
    return err;
}

// Starts the scheduler and waits for it to say it started; returns its stderr so far.
QString StartDaemon(const Cli& cli, QProcess& p) {
    cli.start(
        p, {QStringLiteral("daemon"), QStringLiteral("--interval-seconds"), QStringLiteral("1")});
    QString err;
    if (p.waitForStarted()) WaitForErr(p, QStringLiteral("scheduler started"), 10000, err);
    return err;
}

// Stops a scheduler as a session ending would; its exit code, or -1.
int Stop(QProcess& p, int signal = SIGTERM) {
    ::kill(static_cast<pid_t>(p.processId()), signal);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit) return -1;
    return p.exitCode();
}

TEST(CliFolders, AddListRemove) {
    Cli cli;
    const QString watch = cli.folder("watch"), other = cli.folder("other");
    ASSERT_TRUE(cli.writeRules({MoveTxtRule("A", other, kGuidA), MoveTxtRule("B", other, kGuidB)}));
    EXPECT_TRUE(cli.lines({"folders", "list"}).isEmpty());

    auto r = cli.run({"folders", "add", watch, "--every", "4", "--rules",
                      kGuidB.toLower() + QStringLiteral(",") + kGuidA, "--confirm"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // A minute outside the five-minute list is kept and shown.
    r = cli.run({"folders", "add", other + QStringLiteral("/"), "--at", "6:07", "--disabled"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QStringList lines = cli.lines({"folders", "list"});
    ASSERT_EQ(lines.size(), 2);
    const QStringList first = lines.at(0).split(QLatin1Char('\t'));
    ASSERT_EQ(first.size(), 6);
    EXPECT_EQ(first.mid(0, 3), (QStringList{"0", other, "at 06:07"}));
    EXPECT_TRUE(first.at(3).endsWith(QStringLiteral("T06:07:01"))) << first.at(3).toStdString();
    EXPECT_EQ(first.mid(4), (QStringList{"all", "0"}));
    const QStringList second = lines.at(1).split(QLatin1Char('\t'));
    EXPECT_EQ(second.mid(0, 3), (QStringList{"1", watch, "every 4 hours"}));
    EXPECT_EQ(second.mid(4), (QStringList{kGuidA + "," + kGuidB, "1"}));  // rule-list order

    // A tab in a folder name does not add a column.
    const QString tabbed = cli.folder("tab\there");
    ASSERT_EQ(cli.run({"folders", "add", tabbed}).exitCode, 0);
    const QStringList tabLine = cli.lines({"folders", "list"}).first().split(QLatin1Char('\t'));
    ASSERT_EQ(tabLine.size(), 6);
    EXPECT_EQ(tabLine.at(1), cli.tmp.file(QStringLiteral("tab\\there")));
    ASSERT_EQ(cli.run({"folders", "remove", tabbed}).exitCode, 0);

    r = cli.run({"folders", "remove", watch + QStringLiteral("/../watch")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(cli.lines({"folders", "list"}).size(), 1);
    EXPECT_EQ(cli.run({"folders", "remove", watch}).exitCode, 2);
}

TEST(CliFolders, NamesThatWouldBreakTheListAndDuplicatesAreRefused) {
    Cli cli;
    const QString watch = cli.folder("watch");
    EXPECT_EQ(cli.run({"folders", "add", cli.folder("two\nlines")}).exitCode, 2);
    EXPECT_TRUE(cli.lines({"folders", "list"}).isEmpty());
    EXPECT_EQ(cli.run({"folders", "add", watch}).exitCode, 0);
    EXPECT_EQ(cli.run({"folders", "add", watch}).exitCode, 2);
    EXPECT_EQ(cli.lines({"folders", "list"}).size(), 1);
}

TEST(CliFolders, DamagedFoldersFileIsKeptAside) {
    Cli cli;
    const QString file = cli.data + QStringLiteral("/folders.txt");
    ASSERT_TRUE(WriteFile(file, QByteArray("1<|FL|>/x\xff\xfe<|FL|>every\r\n")));
    const auto r = cli.run({"folders", "list"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("kept aside"))) << r.err.toStdString();
    EXPECT_EQ(QDir(cli.data).entryList({QStringLiteral("folders.txt.unreadable-*")}).size(), 1);
    // The scheduler refuses to start over a damaged list as well.
    ASSERT_TRUE(WriteFile(file, QByteArray("\xff\xfe\r\n")));
    const auto d = cli.run({"daemon", "--interval-seconds", "1"});
    EXPECT_EQ(d.exitCode, 1);
    EXPECT_TRUE(d.err.contains(QStringLiteral("cannot be read"))) << d.err.toStdString();
    // Fields that do not parse fall back to defaults and never fail the listing.
    ASSERT_TRUE(WriteFile(file, "1<|FL|>/tmp<|FL|>at<|FL|>x<|FL|>99<|FL|>00<|FL|>bad date\r\n"));
    const QStringList lines = cli.lines({"folders", "list"});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("1\t/tmp\tat 23:00\t")));
}

TEST(CliOrganize, UnwatchedFolderFilesThenSubfoldersAndWatchedFolderSelection) {
    Cli cli;
    const QString in = cli.folder("in/zsub"), out = cli.folder("out");
    ASSERT_TRUE(WriteFile(cli.tmp.file("in/b.txt"), "b"));
    ASSERT_TRUE(WriteFile(cli.tmp.file("in/a.pdf"), "a"));
    ASSERT_TRUE(
        cli.writeRules({MoveTxtRule("First", out, kGuidA), MoveTxtRule("Texts", out, kGuidB)}));
    const QString dir = cli.tmp.file("in");
    auto r = cli.run({"organize", "--selection", "", dir});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The order within the files comes from the folder listing; folders come last.
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.last(), "no matched rule\t" + in);
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"no matched rule\t" + dir + "/a.pdf",
                                  "no matched rule\t" + dir + "/b.txt", "no matched rule\t" + in}));
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("/b.txt")));

    // Without a selection of its own an unwatched folder takes all rules: the first wins.
    r = cli.run({"organize", dir});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("First\t") + dir + QStringLiteral("/b.txt\n")));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/b.txt")));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/b.txt")));

    // A watched folder is organized with its own selection, and its times stay as they were.
    ASSERT_TRUE(WriteFile(cli.tmp.file("in/b.txt"), "b"));
    ASSERT_EQ(cli.run({"folders", "add", dir, "--rules", kGuidB, "--disabled"}).exitCode, 0);
    const QByteArray before = ReadFile(cli.data + QStringLiteral("/folders.txt"));
    r = cli.run({"organize", dir});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Texts\t") + dir + QStringLiteral("/b.txt\n")));
    EXPECT_EQ(ReadFile(out + QStringLiteral("/b1.txt")), "b");
    EXPECT_EQ(ReadFile(cli.data + QStringLiteral("/folders.txt")), before);
}

TEST(CliDaemon, SecondSchedulerRefusedAndSigtermStopsCleanly) {
    Cli cli;
    QProcess first;
    QString err = StartDaemon(cli, first);
    ASSERT_TRUE(err.contains(QStringLiteral("scheduler started"))) << err.toStdString();

    // A folder added while the scheduler runs is picked up at its next check.
    ASSERT_EQ(cli.run({"folders", "add", cli.folder("watch")}).exitCode, 0);
    WaitForErr(first, QStringLiteral("watched folders reloaded (1 folders)"), 10000, err);
    EXPECT_TRUE(err.contains(QStringLiteral("watched folders reloaded (1 folders)")))
        << err.toStdString();

    const auto second = cli.run({"daemon", "--interval-seconds", "1"});
    EXPECT_EQ(second.exitCode, 3);
    EXPECT_TRUE(second.err.contains(QStringLiteral("already running"))) << second.err.toStdString();
    EXPECT_EQ(Stop(first), 0);
    err += QString::fromUtf8(first.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("scheduler stopped")));

    // The lock went with it: a new scheduler starts, and SIGINT stops it too.
    QProcess third;
    EXPECT_TRUE(StartDaemon(cli, third).contains(QStringLiteral("scheduler started")));
    EXPECT_EQ(Stop(third, SIGINT), 0);
}

TEST(CliDaemon, FoldersFileDamagedWhileRunning) {
    Cli cli;
    const QString watch = cli.folder("watch");
    ASSERT_EQ(cli.run({"folders", "add", watch}).exitCode, 0);
    QProcess daemon;
    QString err = StartDaemon(cli, daemon);
    const QByteArray damaged("\xff\xfe damaged\r\n");
    ASSERT_TRUE(WriteFile(cli.data + QStringLiteral("/folders.txt"), damaged));
    WaitForErr(daemon, QStringLiteral("kept aside"), 10000, err);
    EXPECT_EQ(Stop(daemon), 0);
    // The damaged text is kept; the scheduler wrote back the list it had.
    const QStringList aside =
        QDir(cli.data).entryList({QStringLiteral("folders.txt.unreadable-*")});
    ASSERT_EQ(aside.size(), 1) << err.toStdString();
    EXPECT_EQ(ReadFile(cli.data + QLatin1Char('/') + aside.first()), damaged);
    const QStringList lines = cli.lines({"folders", "list"});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().contains(watch));
}

TEST(CliDaemon, DueFolderIsOrganizedAndLogged) {
    Cli cli;
    const QString in = cli.folder("in"), asks = cli.folder("asks"), out = cli.folder("out");
    for (const char* name : {"in/one.txt", "in/two.txt", "in/keep.pdf", "asks/three.txt"})
        ASSERT_TRUE(WriteFile(cli.tmp.file(name), "x"));
    ASSERT_TRUE(cli.writeRules({MoveTxtRule(QStringLiteral("Texts"), out, kGuidA)}));
    // Due at the start of the next minute (second 1); near the end of a minute, wait for
    // the next one so the scheduler surely starts before the time.
    while (QTime::currentTime().second() >= 50) QThread::msleep(250);
    const QString at = QDateTime::currentDateTime().addSecs(60).toString(QStringLiteral("HH:mm"));
    ASSERT_EQ(cli.run({"folders", "add", in, "--at", at}).exitCode, 0);
    ASSERT_EQ(cli.run({"folders", "add", asks, "--at", at, "--confirm"}).exitCode, 0);

    QProcess daemon;
    QString err = StartDaemon(cli, daemon);
    WaitForErr(daemon, QStringLiteral("done [in]"), 90000, err);
    WaitForErr(daemon, QStringLiteral("skipped [asks]"), 5000, err);
    EXPECT_EQ(Stop(daemon), 0);
    err += QString::fromUtf8(daemon.readAllStandardError());

    EXPECT_TRUE(err.contains(QStringLiteral("Texts\t") + in + QStringLiteral("/one.txt")))
        << err.toStdString();
    EXPECT_TRUE(
        err.contains(QStringLiteral("no matched rule\t") + in + QStringLiteral("/keep.pdf")));
    EXPECT_TRUE(err.contains(QStringLiteral("skipped [asks]")));
    for (const char* name : {"out/one.txt", "out/two.txt", "in/keep.pdf", "asks/three.txt"})
        EXPECT_TRUE(QFile::exists(cli.tmp.file(name))) << name;
    // One run only: the next one is tomorrow, and the file says so.
    EXPECT_EQ(err.count(QStringLiteral("organizing [in]")), 1);
    const QStringList lines = cli.lines({"folders", "list"});
    ASSERT_EQ(lines.size(), 2);
    const QDateTime next = QDateTime::fromString(lines.at(1).split(QLatin1Char('\t')).at(3),
                                                 QString::fromLatin1(kFolderDateFormat));
    EXPECT_GT(next, QDateTime::currentDateTime().addSecs(23 * 3600));
    // The moves reached the action log, under the rule's title.
    const QStringList rows = cli.lines({"log"});
    ASSERT_EQ(rows.size(), 2) << rows.join('\n').toStdString();
    for (const char* name : {"one.txt", "two.txt"})
        EXPECT_EQ(
            rows.filter(QStringLiteral("\tTexts\tMove\t%1/%3\t%2/%3").arg(in, out, name)).size(), 1)
            << name;
}

}  // namespace
}  // namespace vandrel
