// Name, extension, size, kind, in-folder and any conditions.
#include <gtest/gtest.h>

#include "conditions/condition_any.h"
#include "conditions/condition_extension.h"
#include "conditions/condition_in_folder.h"
#include "conditions/condition_kind.h"
#include "conditions/condition_name.h"
#include "conditions/condition_size.h"
#include "rules/kind_registry.h"
#include "rules/rule_text.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

QString File(const char* path) {
    return MakeParamList(QStringLiteral("file"), QString::fromUtf8(path));
}
QString Folder(const char* path) {
    return MakeParamList(QStringLiteral("folder"), QString::fromUtf8(path));
}

TEST(ConditionName, ComparesBaseOrFullNameIgnoringCase) {
    struct Case {
        bool full;
        const char* op;
        const char* text;
        QString params;
        bool expected;
    } cases[] = {
        {false, "is", "report", File("/in/Report.PDF"), true},
        {true, "is", "report", File("/in/Report.PDF"), false},
        {true, "is", "report.pdf", File("/in/Report.PDF"), true},
        {false, "is", "README", File("/in/README"), true},
        {true, "is", "readme", File("/in/README"), true},
        {false, "is", "Archive", Folder("/in/Archive"), true},
        {false, "is", "Archive", Folder("/in/Archive.old"), false},  // a folder's whole name
        {false, "contains", "", File("/in/x.txt"), true},
        {false, "starts with", "", File("/in/x.txt"), true},
        {false, "is", "", File("/in/.profile"), true},
        {false, "is", "", File("/in/x.txt"), false},
        {false, "ends with", "2008", File("/in/report_2008_2008.txt"), true},
        {false, "ends with", "2008", File("/in/report_2008.txt"), true},
        {false, "ends with", "longer than name", File("/in/ab.txt"), false},
        {false, "IS", "x", File("/in/X.txt"), true},
        {false, "equals", "x", File("/in/x.txt"), false},  // unknown operator
        {false, "is", "x", MakeParamList(QStringLiteral("thing"), QStringLiteral("/in/x")), false},
    };
    for (const Case& c : cases) {
        ConditionName cond;
        cond.fullNameMode = c.full;
        cond.LoadFromString(QString::fromUtf8(c.op) + QStringLiteral("<|CD|>") +
                            QString::fromUtf8(c.text));
        EXPECT_EQ(cond.DoCheck(c.params), c.expected)
            << c.op << " " << c.text << " " << c.params.toStdString();
    }
}

TEST(ConditionExtension, IsAndSubstringListTests) {
    struct Case {
        const char* payload;
        QString params;
        bool expected;
    } cases[] = {
        {"is<|CD|>pdf", File("/a.PDF"), true},
        {"is<|CD|>.pdf", File("/a.pdf"), false},
        {"is included in<|CD|>txt,pdf,doc", File("/a.doc"), true},
        {"is included in<|CD|>txt,pdf,doc", File("/a.c"), true},
        {"is included in<|CD|>txt,pdf,doc", File("/a.t,p"), true},
        {"is included in<|CD|>txt,pdf,doc", File("/a.docx"), false},
        {"is included in<|CD|>anything", File("/a."), true},
        {"is<|CD|>README", File("/in/README"), true},
        {"is<|CD|>pdf", Folder("/in/x.pdf"), false},
        {"is not<|CD|>pdf", File("/a.txt"), false},
    };
    for (const Case& c : cases) {
        ConditionExtension cond;
        cond.LoadFromString(QString::fromUtf8(c.payload));
        EXPECT_EQ(cond.DoCheck(c.params), c.expected) << c.payload << " " << c.params.toStdString();
        EXPECT_EQ(cond.SaveToString(), QString::fromUtf8(c.payload));
    }
    ConditionExtension fresh;
    EXPECT_EQ(fresh.SaveToString(), QStringLiteral("is<|CD|>txt"));
    fresh.setOperatorFromEditor(QStringLiteral("is included in"));
    EXPECT_EQ(fresh.text, QStringLiteral("txt,pdf,doc"));
    fresh.setOperatorFromEditor(QStringLiteral("is"));
    EXPECT_EQ(fresh.text, QStringLiteral("txt"));
}

TEST(ConditionSize, UnitsRoundHalfToEven) {
    const struct {
        qint64 bytes;
        const char* unit;  // anything but Byte, KB and MB is GB; 5 GiB needs 64 bits
        qint64 expected;
    } rows[] = {{1536, "KB", 2},       {2560, "kb", 2},
                {3500000, "KB", 3418}, {3500000, "MB", 3},
                {3500000, "GB", 0},    {3500000, "TB", 0},
                {512, "KB", 0},        {513, "KB", 1},
                {5LL << 30, "GB", 5},  {5LL << 30, "Byte", 5LL << 30}};
    for (const auto& r : rows)
        EXPECT_EQ(ConditionSize::SizeInUnit(r.bytes, QString::fromLatin1(r.unit)), r.expected)
            << r.bytes << " " << r.unit;
}

TEST(ConditionSize, ComparesRealFiles) {
    test::TempDir dir;
    const QString one = dir.file("one.bin"), half = dir.file("half.bin"),
                  hidden = dir.file(".hidden");
    ASSERT_TRUE(test::WriteFile(one, "x") && test::WriteFile(hidden, "x"));
    ASSERT_TRUE(test::WriteFile(half, QByteArray(512, 'x')));
    struct Case {
        const char* payload;
        QString path;
        bool expected;
    } cases[] = {
        {"is<|CD|>Byte<|CD|>1", one, true},
        {"is<|CD|>Byte<|CD|>1", half, false},
        {"is less than<|CD|>KB<|CD|>1", half, true},
        {"is less than<|CD|>KB<|CD|>1", one, true},
        {"is less than<|CD|>Byte<|CD|>512", half, false},
        {"is greater than<|CD|>Byte<|CD|>511", half, true},
        {"is greater than<|CD|>Byte<|CD|>512", half, false},
        {"is<|CD|>Byte<|CD|>1", hidden, false},
        {"is<|CD|>Byte<|CD|>1", dir.file("missing"), false},
        {"is<|CD|>Byte<|CD|>lots", one, false},  // hand-edited nonsense
        {"is<|CD|>Byte<|CD|>1.5", half, false},
        {"is<|CD|>Byte<|CD|>0.5", dir.file("missing"), false},
        {"is<|CD|>Byte", one, false},  // missing field
        {"weighs<|CD|>Byte<|CD|>1", one, false},
    };
    for (const Case& c : cases) {
        ConditionSize cond;
        cond.LoadFromString(QString::fromUtf8(c.payload));
        EXPECT_EQ(cond.DoCheck(MakeParamList(QStringLiteral("file"), c.path)), c.expected)
            << c.payload << " " << c.path.toStdString();
    }
    ConditionSize cond;
    cond.LoadFromString(QStringLiteral("is greater than<|CD|>MB<|CD|>2"));
    EXPECT_EQ(cond.SaveToString(), QStringLiteral("is greater than<|CD|>MB<|CD|>2"));
    EXPECT_FALSE(cond.DoCheck(MakeParamList(QStringLiteral("folder"), dir.path())));
}

TEST(ConditionKind, ExtensionListsAndFolders) {
    struct Case {
        const char* kind;
        QString params;
        bool expected;
    } cases[] = {
        {"Image", File("/a.JPG"), true},         {"Image", File("/a.jpeg"), false},
        {"Office Document", File("/a.c"), true}, {"Office Document", File("/a.docx"), false},
        {"Music", File("/in/mp3"), true},        {"Folder", Folder("/in/Archive"), true},
        {"Folder", File("/in/a.txt"), false},    {"Music", Folder("/in/mp3"), false},
        {"plain text", File("/a.TXT"), true},    {"Shortcut", File("/a.lnk"), true},
        {"Video", File("/a.mpg"), true},         {"Spreadsheet", File("/a.xls"), false},
    };
    for (const Case& c : cases) {
        ConditionKind cond;
        cond.LoadFromString(QString::fromUtf8(c.kind) + QStringLiteral("<|CD|>forkind"));
        EXPECT_EQ(cond.DoCheck(c.params), c.expected) << c.kind << " " << c.params.toStdString();
    }
    ConditionKind k;
    k.LoadFromString(QStringLiteral("Music"));
    EXPECT_EQ(k.SaveToString(), QStringLiteral("Music<|CD|>forkind"));
}

TEST(ConditionInFolderAndAny, PrefixTestAndAlwaysTrue) {
    ConditionInFolder in;
    in.LoadFromString(QStringLiteral("/home/u/In<|CD|>forinfolder"));
    EXPECT_TRUE(in.DoCheck(File("/HOME/U/IN/SUB/x.txt")));
    EXPECT_TRUE(in.DoCheck(Folder("/home/u/In/Sub")));
    EXPECT_TRUE(in.DoCheck(Folder("/home/u/In")));
    EXPECT_TRUE(in.DoCheck(File("/home/u/Inbox/y.txt")));  // a plain prefix test
    EXPECT_FALSE(in.DoCheck(File("/home/u/Out/y.txt")));
    EXPECT_EQ(in.SaveToString(), QStringLiteral("/home/u/In<|CD|>forinfolder"));
    ConditionInFolder empty;
    EXPECT_TRUE(empty.DoCheck(File("/anything")));

    ConditionAny any;
    any.LoadFromString(QStringLiteral("ignored<|CD|>payload"));
    EXPECT_TRUE(any.DoCheck(File("/x")));
    EXPECT_TRUE(any.DoCheck(Folder("/x")));
    EXPECT_EQ(any.SaveToString(), QStringLiteral("anything<|CD|>anything"));
}

// "Full Name" and "Name" share one kind; only the mode tells them apart.
TEST(KindRegistry, FullNameSelectorComparesTheWholeName) {
    const KindRegistry& reg = KindRegistry::instance();
    auto full = reg.findCondition(QStringLiteral("full name"))->create(EngineContext{});
    auto plain = reg.findCondition(QStringLiteral("NAME"))->create(EngineContext{});
    for (auto* c : {full.get(), plain.get()}) c->LoadFromString(QStringLiteral("is<|CD|>a.txt"));
    EXPECT_TRUE(full->DoCheck(File("/in/A.TXT")));
    EXPECT_FALSE(plain->DoCheck(File("/in/A.TXT")));
    EXPECT_EQ(reg.findCondition(QStringLiteral("Name ")), nullptr);
}

}  // namespace
}  // namespace vandrel
