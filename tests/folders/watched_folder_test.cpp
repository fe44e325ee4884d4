#include "folders/watched_folder.h"

#include <gtest/gtest.h>

#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "rules/rule_text.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

QDateTime At(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

TEST(WatchedFolder, CaptionsAndPathsThatWouldBreakTheFileAreRefused) {
    FakeClock clock;
    WatchedFolderList list(clock);
    WatchedFolder& f = list.AddNewFolder();
    const std::pair<const char*, const char*> captions[] = {
        {"", "Select a Folder"}, {"/home/ann/Downloads/", "Downloads"}, {"/", "/"}};
    for (const auto& [path, caption] : captions) {
        f.setFolderPath(path);
        EXPECT_EQ(f.folderNameText(), caption) << path;
    }
    ASSERT_TRUE(f.setFolderPath("/ok"));
    for (const char* bad : {"/a\nb", "/a\rb", "/a<|FL|>b", "/a<|FP|>b", "/x<|RP|>"}) {
        EXPECT_FALSE(f.setFolderPath(QString::fromLatin1(bad))) << bad;
        EXPECT_EQ(f.folderPath(), "/ok");
    }
    list.AddNewFolder().setFolderPath("/second");
    WatchedFolderList again(clock);
    again.LoadFromString(list.SaveToString());
    EXPECT_EQ(again.folderCount(), 2);
}

TEST(WatchedFolder, TextRoundTrip) {
    FakeClock clock(At(2026, 3, 10, 9, 30));
    WatchedFolder f(clock);
    f.setEnabled(true);
    f.setFolderPath("/data/in box");
    f.setMethod("at");
    f.setHour("07");
    f.setMinute("45");
    f.setConfirm(true);
    f.selector().LoadFromString("<guid>X</guid>");
    ASSERT_TRUE(f.TickCheck(At(2026, 3, 10, 9, 31)) == false);  // computes the next run
    QStringList fields = QStringLiteral(
                             "1;/data/in box;at;1 hour;07;45;2026-03-10T09:30:00;"
                             "2026-03-11T07:45:01;False;<guid>X</guid>;1")
                             .split(QLatin1Char(';'));
    EXPECT_EQ(SplitText(f.SaveToString(), kFolderFieldSep), fields);

    // Every field reads back; loading always asks for a fresh next run time.
    WatchedFolder g(clock);
    g.LoadFromString(f.SaveToString());
    EXPECT_EQ(g.scheduleText(), "at 07:45");
    EXPECT_TRUE(g.recalcPending());
    fields[8] = "True";
    EXPECT_EQ(SplitText(g.SaveToString(), kFolderFieldSep), fields);
}

// The first row is a new row: its defaults are those every damaged field falls back to.
TEST(WatchedFolder, DamagedTextFallsBackToNewRowDefaults) {
    FakeClock clock(At(2026, 3, 10, 9, 30));
    struct Case {
        QString text;
        const char* saved;  // saved again: enabled, path, schedule, then selection, confirm
        bool lastIsNow, nextIsDefault;
    } cases[] = {
        {QString(), "0;;every;1 hour;23;00;all;1", true, true},
        {"1<|FL|>/x", "1;/x;every;1 hour;23;00;all;1", true, true},
        {"yes<|FL|>/x<|FL|>at<|FL|>2 hours<|FL|>25<|FL|>61<|FL|>31/12/2025 10:00<|FL|>"
         "garbage<|FL|>maybe<|FL|>all<|FL|>z",
         "0;/x;at;2 hours;23;00;all;1", true, true},
        // A minute outside the five-minute list is kept.
        {"0<|FL|>/y<|FL|>at<|FL|>1 hour<|FL|>6<|FL|>7<|FL|>2026-01-01T00:00:00<|FL|>"
         "2026-01-02T06:07:01<|FL|>False<|FL|><|FL|>1",
         "0;/y;at;1 hour;06;07;;1", false, false},
    };
    for (const Case& c : cases) {
        WatchedFolder f(clock);
        f.LoadFromString(c.text);
        SCOPED_TRACE(c.text.toStdString());
        const QStringList saved = SplitText(f.SaveToString(), kFolderFieldSep);
        ASSERT_EQ(saved.size(), 11);
        EXPECT_EQ(saved.mid(0, 6) + saved.mid(9), QString::fromLatin1(c.saved).split(';'));
        EXPECT_TRUE(f.confirm());
        EXPECT_EQ(f.lastRunTime() == clock.now(), c.lastIsNow);
        EXPECT_EQ(f.nextRunTime() == clock.now().addDays(-1), c.nextIsDefault);
        EXPECT_TRUE(f.recalcPending());
        EXPECT_TRUE(f.lastRunTime().isValid());
        EXPECT_TRUE(f.nextRunTime().isValid());
    }
}

TEST(WatchedFolder, NextRunTime) {
    FakeClock clock;
    WatchedFolder f(clock);
    const QDateTime t = At(2026, 1, 31, 10, 0, 30);
    struct Every {
        const char* interval;
        int hours;
    } every[] = {{"1 hour", 1}, {"2 HOURS", 2}, {"4 hours", 4}, {"8 hours", 8}, {"weird", 8}};
    for (const Every& e : every) {
        f.setMethod("every");
        f.setInterval(QString::fromLatin1(e.interval));
        EXPECT_EQ(f.ComputeNextRunTime(t), t.addSecs(e.hours * 3600)) << e.interval;
    }
    f.setMethod("Every");  // anything but "at" means every
    f.setInterval("2 hours");
    EXPECT_EQ(f.ComputeNextRunTime(At(2026, 1, 31, 23, 30)), At(2026, 2, 1, 1, 30));

    f.setMethod("AT");
    f.setHour("23");
    f.setMinute("00");
    struct AtCase {
        QDateTime t, next;
    } at[] = {
        {At(2026, 3, 10, 22, 59), At(2026, 3, 10, 23, 0, 1)},
        {At(2026, 3, 10, 23, 0, 0), At(2026, 3, 10, 23, 0, 1)},
        {At(2026, 3, 10, 23, 0, 1), At(2026, 3, 11, 23, 0, 1)},  // exactly: tomorrow
        {At(2026, 3, 10, 23, 30), At(2026, 3, 11, 23, 0, 1)},
        {At(2026, 1, 31, 23, 59, 59), At(2026, 2, 1, 23, 0, 1)},  // month end
        {At(2026, 3, 11, 0, 0), At(2026, 3, 11, 23, 0, 1)},       // just after midnight
    };
    for (const AtCase& c : at)
        EXPECT_EQ(f.ComputeNextRunTime(c.t), c.next) << c.t.toString().toStdString();

    f.setHour("00");
    f.setMinute("07");  // a minute outside the combo's list is honoured
    EXPECT_EQ(f.ComputeNextRunTime(At(2026, 3, 10, 23, 59)), At(2026, 3, 11, 0, 7, 1));
    EXPECT_EQ(f.scheduleText(), "at 00:07");
}

TEST(WatchedFolder, WindowEdges) {
    FakeClock clock;
    const QDateTime next = At(2026, 3, 10, 23, 0, 1);
    struct Case {
        int offsetMs;
        bool due;
        bool rescheduled;
    } cases[] = {
        {0, false, false},     {1, true, true},        {60000, true, true},
        {119999, true, true},  {120000, false, false},  // the far edge: nothing at all
        {120001, false, true}, {-1000, false, false},
    };
    for (const Case& c : cases) {
        WatchedFolder f(clock);
        f.setEnabled(true);
        f.setMethod("at");
        f.setHour("23");
        f.setMinute("00");
        ASSERT_FALSE(f.TickCheck(At(2026, 3, 10, 22, 0)));
        ASSERT_EQ(f.nextRunTime(), next);
        const QDateTime lastBefore = f.lastRunTime();
        const QDateTime now = next.addMSecs(c.offsetMs);
        EXPECT_EQ(f.TickCheck(now), c.due) << c.offsetMs;
        EXPECT_EQ(f.nextRunTime(), c.rescheduled ? At(2026, 3, 11, 23, 0, 1) : next) << c.offsetMs;
        EXPECT_EQ(f.lastRunTime() != lastBefore, c.due) << c.offsetMs;
    }
}

TEST(WatchedFolder, DisabledFolderIsNeverDueAndKeepsItsTimes) {
    FakeClock clock(At(2026, 3, 10, 8, 0));
    WatchedFolder f(clock);
    const QDateTime last = f.lastRunTime();
    const QDateTime next = f.nextRunTime();
    for (int minute = 0; minute < 24 * 60; minute += 1)
        ASSERT_FALSE(f.TickCheck(At(2026, 3, 10, 8, 0).addSecs(minute * 60 + 30)));
    EXPECT_EQ(f.lastRunTime(), last);
    EXPECT_EQ(f.nextRunTime(), next);
    EXPECT_TRUE(f.recalcPending());
}

// An interval folder is due once per window; a changed schedule is recomputed at the next
// check; a run missed while no checks happened is rescheduled, not made up.
TEST(WatchedFolder, EveryIntervalDueOncePerWindowAndMissedRunsRescheduled) {
    FakeClock clock;
    WatchedFolder f(clock);
    f.setEnabled(true);
    f.setInterval("2 hours");
    EXPECT_FALSE(f.TickCheck(At(2026, 3, 10, 10, 0, 30)));
    EXPECT_FALSE(f.recalcPending());
    EXPECT_EQ(f.nextRunTime(), At(2026, 3, 10, 12, 0, 30));
    EXPECT_TRUE(f.TickCheck(At(2026, 3, 10, 12, 1, 30)));
    EXPECT_EQ(f.lastRunTime(), At(2026, 3, 10, 12, 1, 30));
    EXPECT_EQ(f.nextRunTime(), At(2026, 3, 10, 14, 1, 30));
    EXPECT_FALSE(f.TickCheck(At(2026, 3, 10, 12, 2, 0)));  // the same window again

    f.setInterval("1 hour");
    EXPECT_TRUE(f.recalcPending());
    ASSERT_FALSE(f.TickCheck(At(2026, 3, 10, 12, 3, 0)));
    EXPECT_EQ(f.nextRunTime(), At(2026, 3, 10, 13, 3, 0));
    // No checks for an hour and a half (settings window open, computer asleep).
    EXPECT_FALSE(f.TickCheck(At(2026, 3, 10, 14, 33, 0)));
    EXPECT_EQ(f.nextRunTime(), At(2026, 3, 10, 15, 33, 0));
    EXPECT_FALSE(f.TickCheck(At(2026, 3, 10, 14, 34, 0)));
    EXPECT_TRUE(f.TickCheck(At(2026, 3, 10, 15, 34, 0)));
}

TEST(WatchedFolderList, TextOrderAddAndRemove) {
    FakeClock clock(At(2026, 3, 10, 9, 0));
    WatchedFolderList list(clock);
    for (const char* p : {"/c", "/b", "/a"})
        list.AddNewFolder().setFolderPath(QString::fromLatin1(p));
    // New rows go on top.
    ASSERT_EQ(list.folderCount(), 3);
    EXPECT_EQ(list.folder(0).folderPath(), "/a");
    EXPECT_EQ(list.folder(2).folderPath(), "/c");
    const QString text = list.SaveToString();
    EXPECT_FALSE(text.endsWith(QString::fromUtf16(kFolderListSep)));

    WatchedFolderList again(clock);
    again.LoadFromString(text);
    EXPECT_EQ(again.SaveToString(), text);  // loaded rows save with recalcPending "True"

    again.AddNewFolder();
    EXPECT_EQ(again.indexOfPath("/b"), 2);
    EXPECT_TRUE(again.RemoveFolder(&again.folder(2)));
    EXPECT_EQ(again.indexOfPath("/b"), -1);
    EXPECT_FALSE(again.RemoveFolderAt(9));
    EXPECT_EQ(again.folderCount(), 3);
}

TEST(WatchedFolderList, DueFoldersInListOrderAndAdoptedRunningTimes) {
    FakeClock clock;
    WatchedFolderList list(clock);
    for (const char* p : {"/third", "/second", "/first"}) {
        WatchedFolder& f = list.AddNewFolder();
        f.setFolderPath(QString::fromLatin1(p));
        f.setEnabled(true);
    }
    list.folder(1).setEnabled(false);
    EXPECT_TRUE(list.DueFolders(At(2026, 3, 10, 10, 0)).empty());

    // A copy read back from the text takes over the running times, unless its schedule
    // changed meanwhile: that one starts afresh.
    WatchedFolderList reread(clock);
    reread.LoadFromString(list.SaveToString());
    reread.folder(reread.indexOfPath("/third")).setInterval("8 hours");
    reread.AdoptScheduleFrom(list);
    const WatchedFolder& first = reread.folder(reread.indexOfPath("/first"));
    EXPECT_FALSE(first.recalcPending());
    EXPECT_EQ(first.nextRunTime(), At(2026, 3, 10, 11, 0));
    EXPECT_TRUE(reread.folder(reread.indexOfPath("/third")).recalcPending());

    const auto due = list.DueFolders(At(2026, 3, 10, 11, 0, 30));
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0]->folderPath(), "/first");
    EXPECT_EQ(due[1]->folderPath(), "/third");
}

TEST(WatchedFolderList, FileMissingEmptyAndWritten) {
    test::TempDir tmp;
    FakeClock clock(At(2026, 3, 10, 9, 0));
    const QString path = tmp.file("folders.txt");
    WatchedFolderList list(clock);
    list.AddNewFolder().setFolderPath("/dropped");
    // Missing: an empty list.
    EXPECT_EQ(list.LoadFromFile(path).status, StateReadStatus::Missing);
    EXPECT_EQ(list.folderCount(), 0);

    // Saved: one line with a line break, read back the same.
    list.AddNewFolder().setFolderPath("/b");
    list.AddNewFolder().setFolderPath("/a");
    ASSERT_TRUE(list.SaveToFile(path));
    EXPECT_TRUE(test::ReadFile(path).endsWith("\r\n"));
    WatchedFolderList again(clock);
    EXPECT_EQ(again.LoadFromFile(path).status, StateReadStatus::Ok);
    EXPECT_EQ(again.SaveToString(), list.SaveToString());

    // Empty list: an empty line, loading to no rows.
    WatchedFolderList empty(clock);
    ASSERT_TRUE(empty.SaveToFile(tmp.file("empty.txt")));
    EXPECT_EQ(test::ReadFile(tmp.file("empty.txt")), QByteArray("\r\n"));
    EXPECT_EQ(again.LoadFromFile(tmp.file("empty.txt")).status, StateReadStatus::Ok);
    EXPECT_EQ(again.folderCount(), 0);
}

}  // namespace
}  // namespace vandrel
