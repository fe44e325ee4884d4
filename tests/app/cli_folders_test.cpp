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

using test::MakeDir;
using test::ReadFile;
using test::RunVandrel;
using test::TempDir;
using test::WriteFile;

const QString kGuidA = QStringLiteral("0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");
const QString kGuidB = QStringLiteral("1B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");

// A rule that moves .txt files into dest.
QString MoveTxtRule(const QString& title, const QString& dest, const QString& guid) {
    return title + QStringLiteral("<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>") +
           dest + QStringLiteral("<|AC|>0<|AC|><//>date.current<//><|AC|>1<|RU|>") + guid;
}

struct Env {
    TempDir tmp;
    QString home = tmp.file(QStringLiteral("home"));
    QString data = tmp.file(QStringLiteral("data"));
    Env() {
        MakeDir(home);
        MakeDir(data);
    }
    test::ProcessResult Run(QStringList args) {
        args.prepend(data);
        args.prepend(QStringLiteral("--data-dir"));
        return RunVandrel(args, home);
    }
    QStringList ListLines() {
        const auto r = Run({QStringLiteral("folders"), QStringLiteral("list")});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Starts "vandrel daemon" with the test environment.
    void StartDaemon(QProcess& p, int intervalSecs = 1) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VANDREL_BINARY),
                {QStringLiteral("--data-dir"), data, QStringLiteral("daemon"),
                 QStringLiteral("--interval-seconds"), QString::number(intervalSecs)});
    }
};

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

TEST(CliFolders, AddListRemove) {
    Env e;
    const QString watch = e.tmp.file(QStringLiteral("watch"));
    const QString other = e.tmp.file(QStringLiteral("other"));
    MakeDir(watch);
    MakeDir(other);
    ASSERT_TRUE(WriteFile(e.data + QStringLiteral("/rules.txt"),
                          (MoveTxtRule("A", other, kGuidA) + QStringLiteral("<|RP|>") +
                           MoveTxtRule("B", other, kGuidB))
                              .toUtf8()));
    EXPECT_TRUE(e.ListLines().isEmpty());

    auto r = e.Run({"folders", "add", watch, "--every", "4", "--rules",
                    kGuidB.toLower() + QStringLiteral(",") + kGuidA, "--confirm"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // A minute outside the five-minute list is kept and shown.
    r = e.Run({"folders", "add", other + QStringLiteral("/"), "--at", "6:07", "--disabled"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QStringList lines = e.ListLines();
    ASSERT_EQ(lines.size(), 2);
    const QStringList first = lines.at(0).split(QLatin1Char('\t'));
    const QStringList second = lines.at(1).split(QLatin1Char('\t'));
    ASSERT_EQ(first.size(), 6);
    EXPECT_EQ(first.at(0), QStringLiteral("0"));
    EXPECT_EQ(first.at(1), other);
    EXPECT_EQ(first.at(2), QStringLiteral("at 06:07"));
    EXPECT_TRUE(first.at(3).endsWith(QStringLiteral("T06:07:01"))) << first.at(3).toStdString();
    EXPECT_EQ(first.at(4), QStringLiteral("all"));
    EXPECT_EQ(first.at(5), QStringLiteral("0"));
    EXPECT_EQ(second.at(0), QStringLiteral("1"));
    EXPECT_EQ(second.at(1), watch);
    EXPECT_EQ(second.at(2), QStringLiteral("every 4 hours"));
    EXPECT_EQ(second.at(4), kGuidA + QStringLiteral(",") + kGuidB);  // rule-list order
    EXPECT_EQ(second.at(5), QStringLiteral("1"));

    // A tab in a folder name does not add a column.
    const QString tabbed = e.tmp.file(QStringLiteral("tab\there"));
    ASSERT_TRUE(MakeDir(tabbed));
    ASSERT_EQ(e.Run({"folders", "add", tabbed}).exitCode, 0);
    const QStringList tabLine = e.ListLines().first().split(QLatin1Char('\t'));
    ASSERT_EQ(tabLine.size(), 6);
    EXPECT_EQ(tabLine.at(1), e.tmp.file(QStringLiteral("tab\\there")));
    ASSERT_EQ(e.Run({"folders", "remove", tabbed}).exitCode, 0);

    r = e.Run({"folders", "remove", watch + QStringLiteral("/../watch")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(e.ListLines().size(), 1);
    EXPECT_EQ(e.Run({"folders", "remove", watch}).exitCode, 2);
}

TEST(CliFolders, NamesThatWouldBreakTheListAndDuplicatesAreRefused) {
    Env e;
    const QString watch = e.tmp.file(QStringLiteral("watch"));
    const QString broken = e.tmp.file(QStringLiteral("two\nlines"));
    ASSERT_TRUE(MakeDir(watch));
    ASSERT_TRUE(MakeDir(broken));
    EXPECT_EQ(e.Run({"folders", "add", broken}).exitCode, 2);
    EXPECT_TRUE(e.ListLines().isEmpty());
    EXPECT_EQ(e.Run({"folders", "add", watch}).exitCode, 0);
    EXPECT_EQ(e.Run({"folders", "add", watch}).exitCode, 2);
    EXPECT_EQ(e.ListLines().size(), 1);
}

TEST(CliFolders, DamagedFoldersFileIsKeptAside) {
    Env e;
    const QString file = e.data + QStringLiteral("/folders.txt");
    ASSERT_TRUE(WriteFile(file, QByteArray("1<|FL|>/x\xff\xfe<|FL|>every\r\n")));
    const auto r = e.Run({"folders", "list"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("kept aside"))) << r.err.toStdString();
    EXPECT_EQ(QDir(e.data).entryList({QStringLiteral("folders.txt.unreadable-*")}).size(), 1);
    // The scheduler refuses to start over a damaged list as well.
    ASSERT_TRUE(WriteFile(file, QByteArray("\xff\xfe\r\n")));
    const auto d = e.Run({"daemon", "--interval-seconds", "1"});
    EXPECT_EQ(d.exitCode, 1);
    EXPECT_TRUE(d.err.contains(QStringLiteral("cannot be read"))) << d.err.toStdString();
    // Fields that do not parse fall back to defaults and never fail the listing.
    ASSERT_TRUE(WriteFile(file, "1<|FL|>/tmp<|FL|>at<|FL|>x<|FL|>99<|FL|>00<|FL|>bad date\r\n"));
    const QStringList lines = e.ListLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("1\t/tmp\tat 23:00\t")));
}

TEST(CliOrganize, UnwatchedFolderFilesThenSubfolders) {
    Env e;
    const QString in = e.tmp.file(QStringLiteral("in"));
    const QString out = e.tmp.file(QStringLiteral("out"));
    MakeDir(in + QStringLiteral("/zsub"));
    MakeDir(out);
    ASSERT_TRUE(WriteFile(in + QStringLiteral("/b.txt"), "b"));
    ASSERT_TRUE(WriteFile(in + QStringLiteral("/a.pdf"), "a"));
    ASSERT_TRUE(WriteFile(e.data + QStringLiteral("/rules.txt"),
                          MoveTxtRule(QStringLiteral("Texts"), out, kGuidA).toUtf8()));
    auto r = e.Run({"organize", "--selection", "", in});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    lines.sort();  // the file order within the files comes from the folder listing
    EXPECT_EQ(lines,
              (QStringList{"no matched rule\t" + in + "/a.pdf", "no matched rule\t" + in + "/b.txt",
                           "no matched rule\t" + in + "/zsub"}));
    EXPECT_TRUE(r.out.trimmed().endsWith(in + QStringLiteral("/zsub")));  // folders come last
    EXPECT_TRUE(QFile::exists(in + QStringLiteral("/b.txt")));

    r = e.Run({"organize", in});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Texts\t") + in + QStringLiteral("/b.txt")));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/b.txt")));
    EXPECT_FALSE(QFile::exists(in + QStringLiteral("/b.txt")));
}

TEST(CliOrganize, WatchedFolderUsesItsSelectionAndKeepsItsTimes) {
    Env e;
    const QString in = e.tmp.file(QStringLiteral("in"));
    const QString out = e.tmp.file(QStringLiteral("out"));
    MakeDir(in);
    MakeDir(out);
    ASSERT_TRUE(WriteFile(in + QStringLiteral("/b.txt"), "b"));
    ASSERT_TRUE(
        WriteFile(e.data + QStringLiteral("/rules.txt"),
                  (MoveTxtRule(QStringLiteral("First"), out, kGuidA) + QStringLiteral("<|RP|>") +
                   MoveTxtRule(QStringLiteral("Second"), out, kGuidB))
                      .toUtf8()));
    ASSERT_EQ(e.Run({"folders", "add", in, "--rules", kGuidB, "--disabled"}).exitCode, 0);
    const QByteArray before = ReadFile(e.data + QStringLiteral("/folders.txt"));
    const auto r = e.Run({"organize", in});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Second\t") + in + QStringLiteral("/b.txt\n"));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/b.txt")));
    EXPECT_EQ(ReadFile(e.data + QStringLiteral("/folders.txt")), before);
}

TEST(CliDaemon, SecondSchedulerRefusedAndSigtermStopsCleanly) {
    Env e;
    QProcess first;
    e.StartDaemon(first);
    ASSERT_TRUE(first.waitForStarted());
    QString err;
    WaitForErr(first, QStringLiteral("scheduler started"), 10000, err);
    ASSERT_TRUE(err.contains(QStringLiteral("scheduler started"))) << err.toStdString();

    // A folder added while the scheduler runs is picked up at its next check.
    const QString watch = e.tmp.file(QStringLiteral("watch"));
    MakeDir(watch);
    ASSERT_EQ(e.Run({"folders", "add", watch}).exitCode, 0);
    WaitForErr(first, QStringLiteral("watched folders reloaded (1 folders)"), 10000, err);
    EXPECT_TRUE(err.contains(QStringLiteral("watched folders reloaded (1 folders)")))
        << err.toStdString();

    const auto second = e.Run({"daemon", "--interval-seconds", "1"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains(QStringLiteral("already running"))) << second.err.toStdString();

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    err += QString::fromUtf8(first.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("scheduler stopped")));

    // The lock went with it: a new scheduler starts, and SIGINT stops it too.
    QProcess third;
    e.StartDaemon(third);
    ASSERT_TRUE(third.waitForStarted());
    QString err3;
    WaitForErr(third, QStringLiteral("scheduler started"), 10000, err3);
    ::kill(static_cast<pid_t>(third.processId()), SIGINT);
    ASSERT_TRUE(third.waitForFinished(10000));
    EXPECT_EQ(third.exitCode(), 0);
}

TEST(CliDaemon, FoldersFileDamagedWhileRunning) {
    Env e;
    const QString watch = e.tmp.file(QStringLiteral("watch"));
    MakeDir(watch);
    ASSERT_EQ(e.Run({"folders", "add", watch}).exitCode, 0);
    QProcess daemon;
    e.StartDaemon(daemon);
    ASSERT_TRUE(daemon.waitForStarted());
    QString err;
    WaitForErr(daemon, QStringLiteral("scheduler started"), 10000, err);
    const QString file = e.data + QStringLiteral("/folders.txt");
    const QByteArray damaged("\xff\xfe damaged\r\n");
    ASSERT_TRUE(WriteFile(file, damaged));
    WaitForErr(daemon, QStringLiteral("kept aside"), 10000, err);
    ::kill(static_cast<pid_t>(daemon.processId()), SIGTERM);
    ASSERT_TRUE(daemon.waitForFinished(10000));
    EXPECT_EQ(daemon.exitCode(), 0);
    // The damaged text is kept; the scheduler wrote back the list it had.
    const QStringList aside = QDir(e.data).entryList({QStringLiteral("folders.txt.unreadable-*")});
    ASSERT_EQ(aside.size(), 1) << err.toStdString();
    EXPECT_EQ(ReadFile(e.data + QLatin1Char('/') + aside.first()), damaged);
    const QStringList lines = e.ListLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().contains(watch));
}

TEST(CliDaemon, DueFolderIsOrganizedAndLogged) {
    Env e;
    const QString in = e.tmp.file(QStringLiteral("in"));
    const QString asks = e.tmp.file(QStringLiteral("asks"));
    const QString out = e.tmp.file(QStringLiteral("out"));
    MakeDir(in);
    MakeDir(asks);
    MakeDir(out);
    ASSERT_TRUE(WriteFile(in + QStringLiteral("/one.txt"), "1"));
    ASSERT_TRUE(WriteFile(in + QStringLiteral("/two.txt"), "2"));
    ASSERT_TRUE(WriteFile(in + QStringLiteral("/keep.pdf"), "p"));
    ASSERT_TRUE(WriteFile(asks + QStringLiteral("/three.txt"), "3"));
    ASSERT_TRUE(WriteFile(e.data + QStringLiteral("/rules.txt"),
                          MoveTxtRule(QStringLiteral("Texts"), out, kGuidA).toUtf8()));
    // Due at the start of the next minute (second 1); near the end of a minute, wait for
    // the next one so the scheduler surely starts before the time.
    while (QTime::currentTime().second() >= 50) QThread::msleep(250);
    const QDateTime due = QDateTime::currentDateTime().addSecs(60);
    const QString at = due.toString(QStringLiteral("HH:mm"));
    ASSERT_EQ(e.Run({"folders", "add", in, "--at", at}).exitCode, 0);
    ASSERT_EQ(e.Run({"folders", "add", asks, "--at", at, "--confirm"}).exitCode, 0);

    QProcess daemon;
    e.StartDaemon(daemon);
    ASSERT_TRUE(daemon.waitForStarted());
    QString err;
    WaitForErr(daemon, QStringLiteral("done [in]"), 90000, err);
    WaitForErr(daemon, QStringLiteral("skipped [asks]"), 5000, err);
    ::kill(static_cast<pid_t>(daemon.processId()), SIGTERM);
    ASSERT_TRUE(daemon.waitForFinished(10000));
    err += QString::fromUtf8(daemon.readAllStandardError());
    EXPECT_EQ(daemon.exitCode(), 0);

    EXPECT_TRUE(err.contains(QStringLiteral("Texts\t") + in + QStringLiteral("/one.txt")))
        << err.toStdString();
    EXPECT_TRUE(
        err.contains(QStringLiteral("no matched rule\t") + in + QStringLiteral("/keep.pdf")));
    EXPECT_TRUE(err.contains(QStringLiteral("skipped [asks]")));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/one.txt")));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/two.txt")));
    EXPECT_FALSE(QFile::exists(in + QStringLiteral("/one.txt")));
    EXPECT_TRUE(QFile::exists(in + QStringLiteral("/keep.pdf")));
    EXPECT_TRUE(QFile::exists(asks + QStringLiteral("/three.txt")));
    // One run only: the next one is tomorrow, and the file says so.
    EXPECT_EQ(err.count(QStringLiteral("organizing [in]")), 1);
    const QStringList lines = e.ListLines();
    ASSERT_EQ(lines.size(), 2);
    const QDateTime next = QDateTime::fromString(lines.at(1).split(QLatin1Char('\t')).at(3),
                                                 QString::fromLatin1(kFolderDateFormat));
    EXPECT_GT(next, QDateTime::currentDateTime().addSecs(23 * 3600));
    // The moves reached the action log, under the rule's title.
    const auto log = e.Run({"log"});
    ASSERT_EQ(log.exitCode, 0) << log.err.toStdString();
    const QStringList rows = log.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size(), 2) << log.out.toStdString();
    for (const char* name : {"one.txt", "two.txt"}) {
        bool found = false;
        for (const QString& row : rows)
            found = found || (row.contains(QStringLiteral("\tTexts\t")) &&
                              row.contains(in + QLatin1Char('/') + QLatin1String(name)) &&
                              row.contains(out + QLatin1Char('/') + QLatin1String(name)));
        EXPECT_TRUE(found) << name << "\n" << log.out.toStdString();
    }
}

}  // namespace
}  // namespace vandrel
