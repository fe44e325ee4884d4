// The date condition against a fake clock and real file times, and the attribute
// condition against real MP3 bytes.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

#include "../actions/mp3_bytes.h"
#include "attributes/attribute_helper.h"
#include "conditions/condition_attr.h"
#include "conditions/condition_date.h"
#include "platform/clock.h"
#include "rules/kind_registry.h"
#include "rules/rule_text.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }
QString FileParams(const QString& p) { return MakeParamList(Q("file"), p); }

const QDateTime kNow(QDate(2008, 2, 20), QTime(12, 0, 0));

struct DateEnv {
    DateEnv() : clock(kNow), attrs(&clock) {
        ctx.attributes = &attrs;
        ctx.clock = &clock;
        file = dir.file(Q("f.txt"));
        test::WriteFile(file, "x");
    }
    void setModified(const QDateTime& t) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(t, QFileDevice::FileModificationTime));
    }
    bool check(const QString& payload) {
        ConditionDate c(ctx);
        c.SetAttrCode(Q("date.modified"));
        c.LoadFromString(payload);
        return c.DoCheck(FileParams(file));
    }
    test::TempDir dir;
    FakeClock clock;
    AttributeHelper attrs;
    EngineContext ctx;
    QString file;
};

TEST(ConditionDate, FixedDatesAndSlidingWindows) {
    const QDateTime d14(QDate(2008, 2, 14), QTime(23, 59)), d15(QDate(2008, 2, 15), QTime(0, 0));
    const QDateTime d1030(QDate(2008, 2, 14), QTime(10, 30));
    const char* const last1Day = "is in the last<|CD|>1<|CD|>Day<|CD|>";
    const char* const notLast1Day = "is not in the last<|CD|>1<|CD|>Day<|CD|>";
    const struct {
        QDateTime modified;
        const char* payload;
        bool expected;
    } rows[] = {
        {d14, "is<|CD|>1<|CD|>Day<|CD|>2008-02-14 08:00:00", true},
        {d14, "IS<|CD|>1<|CD|>Day<|CD|>2008-2-14", true},
        {d14, "is<|CD|>1<|CD|>Day<|CD|>2008-02-15", false},
        {d15, "is<|CD|>1<|CD|>Day<|CD|>2008-02-14", false},
        {d15, "is after<|CD|>1<|CD|>Day<|CD|>2008-02-14 23:59:59", true},
        // Equal date-times are neither before nor after.
        {d1030, "is before<|CD|>1<|CD|>Day<|CD|>2008-02-14 10:30:00", false},
        {d1030, "is after<|CD|>1<|CD|>Day<|CD|>2008-02-14 10:30:00", false},
        {d1030, "is before<|CD|>1<|CD|>Day<|CD|>2008-02-14 10:30:01", true},
        {d1030, "is after<|CD|>1<|CD|>Day<|CD|>2008-02-14", true},
        // A garbage number does not matter to the fixed-date operators.
        {d1030, "is after<|CD|>abc<|CD|>Day<|CD|>2008-02-14", true},
        {d1030, "is around<|CD|>1<|CD|>Day<|CD|>2008-02-14", false},
        {kNow.addSecs(-23 * 3600), last1Day, true},
        {kNow.addSecs(-23 * 3600), notLast1Day, false},
        {kNow.addSecs(-25 * 3600), last1Day, false},
        {kNow.addSecs(-25 * 3600), "is not in the last<|CD|>1<|CD|>day<|CD|>", true},
        // Exactly at the window start: neither.
        {kNow.addDays(-1), last1Day, false},
        {kNow.addDays(-1), notLast1Day, false},
        // Two weeks are fourteen days; minutes and hours.
        {kNow.addDays(-13), "is in the last<|CD|>2<|CD|>Week<|CD|>", true},
        {kNow.addDays(-15), "is in the last<|CD|>2<|CD|>Week<|CD|>", false},
        {kNow.addSecs(-50 * 60), "is in the last<|CD|>1<|CD|>Hour<|CD|>", true},
        {kNow.addSecs(-50 * 60), "is in the last<|CD|>45<|CD|>Minute<|CD|>", false},
        // A file from the future is in every window and after every earlier date.
        {kNow.addDays(30), "is in the last<|CD|>1<|CD|>Minute<|CD|>", true},
        {kNow.addDays(30), "is after<|CD|>1<|CD|>Day<|CD|>2008-02-20 11:00:00", true},
        // A number that is no number: false, no error.
        {kNow.addDays(30), "is in the last<|CD|>x<|CD|>Day<|CD|>", false},
        {kNow.addDays(30), "is not in the last<|CD|><|CD|>Day<|CD|>", false},
        // An unknown unit makes the window start "now".
        {kNow.addSecs(-10), "is in the last<|CD|>5<|CD|>Fortnight<|CD|>", false},
        {kNow.addSecs(-10), "is not in the last<|CD|>5<|CD|>Fortnight<|CD|>", true},
    };
    DateEnv env;
    for (const auto& r : rows) {
        env.setModified(r.modified);
        EXPECT_EQ(env.check(Q(r.payload)), r.expected) << r.payload;
    }
}

TEST(ConditionDate, FoldersAndMissingServicesNeverMatch) {
    DateEnv env;
    env.setModified(kNow.addSecs(-60));
    ConditionDate c(env.ctx);
    c.LoadFromString(Q("is in the last<|CD|>1<|CD|>Day<|CD|>"));
    EXPECT_FALSE(c.DoCheck(MakeParamList(Q("folder"), env.dir.path())));
    EXPECT_TRUE(c.DoCheck(MakeParamList(Q("FILE"), env.file)));
    ConditionDate bare(EngineContext{});
    bare.LoadFromString(Q("is in the last<|CD|>1<|CD|>Day<|CD|>"));
    EXPECT_FALSE(bare.DoCheck(FileParams(env.file)));
}

TEST(ConditionDate, PayloadFormsAndSelectorAttributes) {
    DateEnv env;
    ConditionDate c(env.ctx);
    // A new row: "is", 1 Minute, today.
    EXPECT_EQ(c.SaveToString(), Q("is<|CD|>1<|CD|>Minute<|CD|>2008-02-20"));
    EXPECT_TRUE(c.showsDate());
    c.LoadFromString(Q("is before<|CD|>3<|CD|>Day<|CD|>2008-2-14"));
    EXPECT_EQ(c.date(), QDateTime(QDate(2008, 2, 14), QTime(0, 0)));
    EXPECT_EQ(c.SaveToString(), Q("is before<|CD|>3<|CD|>Day<|CD|>2008-02-14"));
    c.LoadFromString(Q("Is In The Last<|CD|>3<|CD|>Day<|CD|>2008-02-14 07:08:09"));
    EXPECT_FALSE(c.showsDate());
    EXPECT_EQ(c.SaveToString(), Q("Is In The Last<|CD|>3<|CD|>Day<|CD|>2008-02-14 07:08:09"));
    // The locale's short date form reads back.
    const QString shortText = QLocale().toString(QDate(2007, 11, 3), QLocale::ShortFormat);
    EXPECT_EQ(ConditionDate::ParseDateText(shortText).date().month(), 11)
        << shortText.toStdString();
    EXPECT_FALSE(ConditionDate::ParseDateText(Q("not a date")).isValid());
    // A date that reads as nothing keeps the previous one.
    c.LoadFromString(Q("is<|CD|>1<|CD|>Day<|CD|>garbage"));
    EXPECT_EQ(c.date(), QDateTime(QDate(2008, 2, 14), QTime(7, 8, 9)));
    // Typed input cannot split the payload.
    c.setNumber(Q("1<|CD|>2"));
    EXPECT_EQ(c.number(), Q("12"));
    // The selector entries test different dates of the same file: modified long ago,
    // accessed just now, the two entries disagree.
    env.setModified(QDateTime(QDate(2001, 1, 1), QTime(0, 0)));
    QFile f(env.file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(kNow.addSecs(-30), QFileDevice::FileAccessTime));
    f.close();
    for (auto [name, expected] :
         {std::pair{"Date Last Modified", false}, std::pair{"Date Last Accessed", true}}) {
        auto cond = KindRegistry::instance().findCondition(Q(name))->create(env.ctx);
        cond->LoadFromString(Q("is in the last<|CD|>1<|CD|>Hour<|CD|>"));
        EXPECT_EQ(cond->DoCheck(FileParams(env.file)), expected) << name;
    }
}

struct AttrEnv {
    AttrEnv() {
        ctx.attributes = &attrs;
        mp3 = dir.file(Q("song.mp3"));
        test::WriteFile(mp3, test::MakeMp3("Quartet in Quartet", "The Quartet", "2003"));
    }
    bool check(const QString& payload, const QString& params) {
        ConditionAttr c(ctx);
        c.LoadFromString(payload);
        return c.DoCheck(params);
    }
    test::TempDir dir;
    AttributeHelper attrs;
    EngineContext ctx;
    QString mp3;
};

TEST(ConditionAttr, ComparesWithoutRegardToCase) {
    AttrEnv env;
    const QString p = FileParams(env.mp3);
    struct Case {
        const char* payload;
        bool expected;
    };
    const Case cases[] = {
        {"mp3.artist<|CD|>starts with<|CD|>the", true},
        {"mp3.artist<|CD|>STARTS WITH<|CD|>quartet", false},
        {"mp3.artist<|CD|>is<|CD|>THE QUARTET", true},
        {"mp3.artist<|CD|>is<|CD|>The Quart", false},
        {"mp3.artist<|CD|>contains<|CD|>e q", true},
        {"mp3.title<|CD|>ends with<|CD|>quartet", true},
        {"mp3.title<|CD|>ends with<|CD|>in", false},
        {"mp3.year<|CD|>is<|CD|>2003", true},
        {"mp3.artist<|CD|>sounds like<|CD|>The Quartet", false},
        {"no.such<|CD|>contains<|CD|>", false},
    };
    for (const Case& c : cases) EXPECT_EQ(env.check(Q(c.payload), p), c.expected) << c.payload;
    // Folders, a file without the value (an MP3 without a tag gives the empty title), also
    // with "contains" and the empty text, and a damaged file never match.
    const QString bare = env.dir.file(Q("bare.mp3")), damaged = env.dir.file(Q("damaged.mp3"));
    QByteArray noTag = test::MakeMp3("", "", "");
    noTag.chop(128);
    ASSERT_TRUE(test::WriteFile(bare, noTag));
    ASSERT_TRUE(test::WriteFile(damaged, QByteArray("ID3\x04\x00\x00\x7f\x7f\x7f\x7f", 10)));
    EXPECT_FALSE(
        env.check(Q("mp3.artist<|CD|>contains<|CD|>"), MakeParamList(Q("folder"), env.dir.path())));
    EXPECT_FALSE(env.check(Q("mp3.title<|CD|>contains<|CD|>"), FileParams(bare)));
    EXPECT_FALSE(env.check(Q("mp3.title<|CD|>is<|CD|>x"), FileParams(damaged)));
    // No attribute reader: nothing matches.
    ConditionAttr bareCond(EngineContext{});
    bareCond.LoadFromString(Q("mp3.artist<|CD|>contains<|CD|>"));
    EXPECT_FALSE(bareCond.DoCheck(p));
}

TEST(ConditionAttr, Payload) {
    EngineContext ctx;
    ConditionAttr c(ctx);
    EXPECT_EQ(c.SaveToString(), Q("mp3.title<|CD|>is<|CD|>"));
    c.LoadFromString(Q("mp3.artist<|CD|>contains<|CD|>Quartet"));
    EXPECT_EQ(c.SaveToString(), Q("mp3.artist<|CD|>contains<|CD|>Quartet"));
    c.setText(Q("a<|CD|>b\r\n"));
    EXPECT_EQ(c.text(), Q("ab"));
}

}  // namespace
}  // namespace vandrel
