#include "rules/rule_text.h"

#include <gtest/gtest.h>

#include <QSet>

#include "rules/param_parts.h"

namespace vandrel {
namespace {

TEST(RuleText, ParameterListPathIsEverythingAfterTheKind) {
    EXPECT_EQ(ParamKind(QStringLiteral("file<|PA|>/in/a.txt")), QStringLiteral("file"));
    EXPECT_EQ(ParamPath(QStringLiteral("file<|PA|>/in/a.txt")), QStringLiteral("/in/a.txt"));
    EXPECT_EQ(ParamPath(QStringLiteral("file<|PA|>/a<|PA|>/b")), QStringLiteral("/a<|PA|>/b"));
    EXPECT_EQ(ParamPath(QStringLiteral("file")), QString());
    EXPECT_EQ(MakeParamList(QStringLiteral("folder"), QStringLiteral("/x")),
              QStringLiteral("folder<|PA|>/x"));
}

// The shared pieces agree with the path helpers upper-cased one by one, also where
// upper-casing changes the length of a name, and are worked out afresh for each list.
TEST(RuleText, SharedPartsAgreeWithThePathHelpers) {
    const QString lists[] = {
        QStringLiteral("file<|PA|>/in/Stra\u00dfe.tar.gz"),
        QStringLiteral("File<|PA|>/in/.profile"),
        QStringLiteral("FOLDER<|PA|>/in/Sub.dir"),
        QStringLiteral("file<|PA|>/in/noext"),
        QStringLiteral("file<|PA|>/in/\u00dfa.\u00dfb"),
        QStringLiteral("file<|PA|>/in/dot."),
        QStringLiteral("file"),
        QStringLiteral("file<|PA|>/in/noext"),
    };
    for (const QString& list : lists) {
        const QString path = ParamPath(list);
        const ParamParts& parts = PartsOf(list);
        EXPECT_EQ(parts.kind, ParamKind(list));
        EXPECT_EQ(parts.path, path);
        EXPECT_EQ(parts.upperFileName, FileNamePart(path).toUpper()) << path.toStdString();
        EXPECT_EQ(parts.upperBaseName, BaseNamePart(path).toUpper()) << path.toStdString();
        EXPECT_EQ(parts.upperExtension, ExtensionPart(path).toUpper()) << path.toStdString();
        EXPECT_EQ(parts.upperPath(), path.toUpper());
        EXPECT_EQ(parts.isFile, ParamKind(list).toUpper() == QLatin1String("FILE"));
        EXPECT_EQ(parts.isFolder, ParamKind(list).toUpper() == QLatin1String("FOLDER"));
    }
}

TEST(RuleText, EqualsUpperFollowsFullUpperCasing) {
    EXPECT_TRUE(EqualsUpper(QStringLiteral("file"), QLatin1String("FILE")));
    EXPECT_TRUE(EqualsUpper(QStringLiteral("FiLe"), QLatin1String("FILE")));
    EXPECT_TRUE(EqualsUpper(QString(), QLatin1String("")));
    EXPECT_FALSE(EqualsUpper(QStringLiteral("files"), QLatin1String("FILE")));
    EXPECT_FALSE(EqualsUpper(QStringLiteral("fil"), QLatin1String("FILE")));
    EXPECT_FALSE(EqualsUpper(QStringLiteral("fi[e"), QLatin1String("FI{E")));
    EXPECT_FALSE(EqualsUpper(QStringLiteral("is "), QLatin1String("IS")));
    // Letters whose upper case is longer: a ligature, a sharp s.
    EXPECT_TRUE(EqualsUpper(QStringLiteral("\ufb01le"), QLatin1String("FILE")));
    EXPECT_TRUE(EqualsUpper(QStringLiteral("stra\u00dfe"), QLatin1String("STRASSE")));
    EXPECT_FALSE(EqualsUpper(QStringLiteral("stra\u00dfe"), QLatin1String("STRASE")));
}

TEST(RuleText, RuleSelection) {
    const QString g = QStringLiteral("0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");
    const QString other = QStringLiteral("11111111-2222-3333-4444-555555555555");
    EXPECT_TRUE(IsRuleSelected(g, QStringLiteral("all")));
    EXPECT_FALSE(IsRuleSelected(g, QStringLiteral("All")));
    EXPECT_FALSE(IsRuleSelected(g, QStringLiteral("ALL")));
    EXPECT_FALSE(IsRuleSelected(g, QString()));
    EXPECT_FALSE(IsRuleSelected(g, g));  // untagged
    EXPECT_TRUE(IsRuleSelected(g, QStringLiteral("<guid>") + g + QStringLiteral("</guid>")));
    EXPECT_TRUE(IsRuleSelected(g, QStringLiteral("<guid>") + other +
                                      QStringLiteral("</guid><guid>") + g +
                                      QStringLiteral("</guid>")));
    EXPECT_FALSE(
        IsRuleSelected(g, QStringLiteral("<guid>") + g.toLower() + QStringLiteral("</guid>")));
    // Only the first occurrence counts.
    EXPECT_FALSE(IsRuleSelected(g, g + QStringLiteral("<guid>") + g + QStringLiteral("</guid>")));
    // Fewer than six characters before it.
    EXPECT_FALSE(IsRuleSelected(g, QStringLiteral("uid>") + g + QStringLiteral("</guid>")));
}

TEST(RuleText, PathPieces) {
    struct Case {
        const char* path;
        const char* file;
        const char* base;
        const char* ext;
    } cases[] = {
        {"/data/x.tar.gz", "x.tar.gz", "x.tar", "gz"},
        {"/data/Sub", "Sub", "Sub", "Sub"},
        {"/in/README", "README", "README", "README"},
        {"/in/.profile", ".profile", "", "profile"},
        {"/in/a.", "a.", "a", ""},
        {"noslash.txt", "noslash.txt", "noslash", "txt"},
        {"/in/sp ace/Ünï.Cödé", "Ünï.Cödé", "Ünï", "Cödé"},
    };
    for (const Case& c : cases) {
        const QString p = QString::fromUtf8(c.path);
        EXPECT_EQ(FileNamePart(p), QString::fromUtf8(c.file)) << c.path;
        EXPECT_EQ(BaseNamePart(p), QString::fromUtf8(c.base)) << c.path;
        EXPECT_EQ(ExtensionPart(p), QString::fromUtf8(c.ext)) << c.path;
    }
}

TEST(RuleText, SanitizeReplacesTheNineCharacters) {
    EXPECT_EQ(SanitizeFileName(QStringLiteral("a:b/c")), QStringLiteral("a-b-c"));
    EXPECT_EQ(SanitizeFileName(QStringLiteral("\\/:*?<>|\"")), QStringLiteral("---------"));
    EXPECT_EQ(SanitizeFileName(QStringLiteral("Été 2008 .mp3")), QStringLiteral("Été 2008 .mp3"));
}

TEST(RuleText, GuidsAreFreshAndWellFormed) {
    QSet<QString> seen;
    for (int i = 0; i < 100; ++i) {
        const QString g = NewRuleGuid();
        ASSERT_EQ(g.size(), 36);
        EXPECT_EQ(g[8], QLatin1Char('-'));
        EXPECT_EQ(g[13], QLatin1Char('-'));
        EXPECT_EQ(g[18], QLatin1Char('-'));
        EXPECT_EQ(g[23], QLatin1Char('-'));
        EXPECT_EQ(g, g.toUpper());
        EXPECT_FALSE(g.contains(QLatin1Char('{')));
        seen.insert(g);
    }
    EXPECT_EQ(seen.size(), 100);
}

TEST(RuleText, StripSeparatorsLeavesTextThatSplitsBack) {
    EXPECT_EQ(StripSeparators(QStringLiteral("Inv<|RU|>oices\r\n")), QStringLiteral("Invoices"));
    // Removing one token must not leave another behind.
    EXPECT_EQ(StripSeparators(QStringLiteral("a<|R<|CP|>U|>b")), QStringLiteral("ab"));
    EXPECT_EQ(StripSeparators(QStringLiteral("plain <|XX|> text")),
              QStringLiteral("plain <|XX|> text"));
}

}  // namespace
}  // namespace vandrel
