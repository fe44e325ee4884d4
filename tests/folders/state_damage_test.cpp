// Damaged state files are kept aside, never loaded as garbage; cut-short rows take safe
// values; a rule without a readable identity gets the same derived one on every load.
#include <gtest/gtest.h>

#include <QDir>

#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "rules/rule_list.h"
#include "rules/rule_text.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

const QByteArray kRule = "R<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>/o";

QByteArray Utf16(const char* text) {
    const QString s = QString::fromLatin1(text);
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

TEST(StateDamage, DamagedFilesKeptAsideCutRowsSafe) {
    struct Case {
        const char* name;
        bool rules;  // rules.txt, else folders.txt
        QByteArray bytes;
        bool aside;
    } cases[] = {
        {"50 KB of 0x01", false, QByteArray(50000, '\x01'), true},
        {"UTF-16 without BOM", false, Utf16("1<|FL|>/w<|FL|>every"), true},
        {"NUL in a path", false, QByteArray("1<|FL|>/w\0x<|FL|>every", 21), true},
        {"empty path", false, "1<|FL|>/a<|FP|>1<|FL|><|FL|>every", true},
        {"relative path", false, "1<|FL|>w<|FL|>every", true},
        {"cut row", false, "1<|FL|>/w<|FL|>at<|FL|>1 hour<|FL|>07", false},
        {"rules in UTF-16", true, Utf16("R<|RU|>All<|RU|><|RU|><|RU|>"), true},
        {"rule cut in its parts", true, kRule + "<|RP|>T<|RU|>All", true},
        {"NUL in a destination", true, kRule + QByteArray("\0/x<|AC|>0", 10), true},
        {"cut GUID", true, kRule + "<|RU|>0B5E7C2A-1D3F", false},
        {"no GUID twice", true, kRule + "<|RU|><|RP|>" + kRule + "<|RU|>", false},
    };
    FakeClock clock;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir tmp;
        const QString file = tmp.file(QLatin1String(c.rules ? "rules.txt" : "folders.txt"));
        ASSERT_TRUE(test::WriteFile(file, c.bytes));
        StateReadResult r;
        QStringList guids[2];
        if (c.rules) {
            r = ReadStateLine(file, &RuleList::TextProblem);
            for (QStringList& g : guids) {  // two runs must give the same identities
                RuleList list{EngineContext{}};
                list.LoadFromString(r.text);
                for (const RuleAttr& a : list.GetRuleAttrs()) g << a.ruleGUID;
            }
        } else {
            WatchedFolderList list(clock);
            r = list.LoadFromFile(file);
            if (!c.aside) {
                ASSERT_EQ(list.folderCount(), 1);
                EXPECT_TRUE(list.folder(0).confirm());  // the missing field takes the safe value
            }
        }
        EXPECT_EQ(r.status == StateReadStatus::Unreadable, c.aside) << r.problem.toStdString();
        EXPECT_EQ(QFileInfo::exists(r.keptAsidePath), c.aside);
        EXPECT_EQ(test::ReadFile(file) == c.bytes, !c.aside);
        EXPECT_EQ(guids[0], guids[1]);
        EXPECT_EQ(guids[0].size(), QSet<QString>(guids[0].begin(), guids[0].end()).size());
        for (const QString& g : guids[0])
            EXPECT_TRUE(IsGuidText(g) && g == g.toUpper()) << g.toStdString();
    }
}

}  // namespace
}  // namespace vandrel
