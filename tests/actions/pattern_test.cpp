// The pattern model behind the pattern editor, pattern expansion and the splitting of
// run-action arguments.
#include "actions/pattern.h"

#include <gtest/gtest.h>

#include "actions/pattern_expand.h"
#include "attributes/attribute_helper.h"
#include "mp3_bytes.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

TEST(Pattern, SetAndGetRoundTrip) {
    const char* cases[] = {"",
                           "hello",
                           "<//>date.current<//>",
                           "<//>name<//>.<//>extension<//>",
                           "mp3-<//>mp3.artist<//>-<//>mp3.year<//>.mp3",
                           "<//>a<//><//>b<//>",
                           "  spaced  <//>name<//>  "};
    for (const char* c : cases) {
        Pattern p;
        p.SetPatternString(Q(c));
        EXPECT_EQ(p.GetPatternString(), Q(c)) << c;
        EXPECT_EQ(p.segmentCount() % 2, 1) << c;
        EXPECT_FALSE(p.segment(0).isToken) << c;
    }
    Pattern p;
    // An unclosed marker still ends with a text segment and reads back without loss of
    // the literal text.
    p.SetPatternString(Q("ab<//>name"));
    EXPECT_FALSE(p.segment(p.segmentCount() - 1).isToken);
    EXPECT_EQ(p.GetPatternString(), Q("ab<//>name<//>"));
}

TEST(Pattern, InsertAndBackspaceAtSegmentBorders) {
    Pattern p;
    p.SetPatternString(Q("abcd"));
    // Without focus nothing is inserted.
    p.InsertPattern(Q("name"));
    EXPECT_EQ(p.GetPatternString(), Q("abcd"));

    p.setFocus(0, 2);
    p.InsertPattern(Q("name"));
    ASSERT_EQ(p.segmentCount(), 3);
    EXPECT_EQ(p.segment(0).text, Q("ab"));
    EXPECT_TRUE(p.segment(1).isToken);
    EXPECT_EQ(p.segment(2).text, Q("cd"));
    EXPECT_EQ(p.GetPatternString(), Q("ab<//>name<//>cd"));

    // Backspace at the start of the third segment removes the token and joins the text.
    p.setFocus(2, 0);
    EXPECT_TRUE(p.KeyBackspace());
    ASSERT_EQ(p.segmentCount(), 1);
    EXPECT_EQ(p.segment(0).text, Q("abcd"));
    EXPECT_EQ(p.currentSegment(), 0);
    EXPECT_EQ(p.caret(), 2);
    // In the first segment backspace at 0 is the text field's business.
    p.setFocus(0, 0);
    EXPECT_FALSE(p.KeyBackspace());
    EXPECT_EQ(p.GetPatternString(), Q("abcd"));

    // Insert at both ends gives empty literals around the token.
    p.SetPatternString(QString());
    p.setFocus(0, 0);
    p.InsertPattern(Q("date.current"));
    EXPECT_EQ(p.GetPatternString(), Q("<//>date.current<//>"));
}

TEST(Pattern, ArrowKeysMoveBetweenTextSegments) {
    Pattern p;
    p.SetPatternString(Q("ab<//>name<//>cd<//>ext<//>ef"));
    p.setFocus(2, 1);
    EXPECT_FALSE(p.KeyLeft());  // caret not at 0
    p.setFocus(2, 0);
    EXPECT_TRUE(p.KeyLeft());
    EXPECT_EQ(p.currentSegment(), 0);
    EXPECT_EQ(p.caret(), 2);
    EXPECT_FALSE(p.KeyLeft());  // first segment

    p.setFocus(2, 2);
    EXPECT_TRUE(p.KeyRight());
    EXPECT_EQ(p.currentSegment(), 4);
    EXPECT_EQ(p.caret(), 0);
    p.setFocus(4, 2);
    EXPECT_FALSE(p.KeyRight());  // last segment

    // A token cannot take the focus; the caret is clamped to the text.
    p.setFocus(1, 0);
    EXPECT_EQ(p.currentSegment(), -1);
    p.setFocus(0, 99);
    EXPECT_EQ(p.caret(), 2);

    p.ClickFreeArea();
    EXPECT_EQ(p.currentSegment(), 4);
    EXPECT_EQ(p.caret(), 2);
}

TEST(Pattern, TypedTextLosesMarkersAndSeparators) {
    Pattern p;
    p.setSegmentText(0, Q("a<//>b<|AC|>c\nd</<//>/>e"));
    EXPECT_EQ(p.segmentCount(), 1);
    EXPECT_EQ(p.GetPatternString(), Q("abcde"));
}

TEST(PatternExpand, SanitisesValuesNotLiterals) {
    EXPECT_EQ(SafeNameValue(Q("12:30/45 a\\b*c?d<e>f|g\"h")), Q("12-30-45 a-b-c-d-e-f-g-h"));
    EXPECT_EQ(SafeNameValue(Q(".")), Q("-"));
    EXPECT_EQ(SafeNameValue(Q("..")), Q("-"));
    EXPECT_EQ(SafeNameValue(Q("...")), Q("..."));
    EXPECT_EQ(SafeNameValue(Q("Größe é")), Q("Größe é"));

    // Without an attribute reader tokens give nothing and literals stay as typed.
    EXPECT_EQ(ExpandPattern(Q("a/b<//>name<//>:c"), Q("/x/y.txt"), nullptr), Q("a/b:c"));
    EXPECT_EQ(ExpandPattern(Q("<//>name<//>"), Q("/x/y.txt"), nullptr), QString());
}

TEST(PatternExpand, ReadsAttributesOfTheItem) {
    test::TempDir dir;
    const QString file = dir.file(Q("report.final.pdf"));
    ASSERT_TRUE(test::WriteFile(file, "x"));
    AttributeHelper attrs;
    EXPECT_EQ(ExpandPattern(Q("<//>name<//>.<//>extension<//>"), file, &attrs),
              Q("report.final.pdf"));
    EXPECT_EQ(ExpandPattern(Q("[<//>extension<//>]<//>nosuchattr<//>"), file, &attrs), Q("[pdf]"));

    // MP3 tags: a slash in the artist and a title of ".." cannot leave the folder.
    const QString mp3 = dir.file(Q("song.mp3"));
    ASSERT_TRUE(test::WriteFile(mp3, test::MakeMp3("..", "AC/DC", "2003")));
    EXPECT_EQ(ExpandPattern(Q("mp3-<//>mp3.artist<//>-<//>mp3.year<//>.mp3"), mp3, &attrs),
              Q("mp3-AC-DC-2003.mp3"));
    EXPECT_EQ(ExpandPattern(Q("<//>mp3.title<//>"), mp3, &attrs), Q("-"));
}

TEST(RunArguments, SplitLikeAShellWithThePathAsOneWord) {
    const QString path = Q("/in/my file; rm -rf ~ \"q\" 'x' $HOME `id`.txt");
    struct Case {
        const char* pattern;
        QStringList expected;
    };
    const Case cases[] = {
        {"<//>filepath<//>", {path}},
        {"--in=<//>filepath<//>", {Q("--in=") + path}},
        {"-v <//>filepath<//> out", {Q("-v"), path, Q("out")}},
        {"\"<//>filepath<//>\"", {path}},
        {"'a b' \"c d\" e\\ f", {Q("a b"), Q("c d"), Q("e f")}},
        {"\"x\\\"y\" 'no\\escape'", {Q("x\"y"), Q("no\\escape")}},
        {"'' \"\"", {QString(), QString()}},
        {"  a   b  ", {Q("a"), Q("b")}},
        {"<//>name<//>", {}},
        {"", {}},
        {"$HOME *.txt", {Q("$HOME"), Q("*.txt")}},
        {"<//>filepath<//> <//>filepath<//>", {path, path}},
        {"pre<//>filepath<//>post", {Q("pre") + path + Q("post")}},
        {"'unclosed <//>filepath<//>", {Q("unclosed ") + path}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitRunArguments(Q(c.pattern), path), c.expected) << c.pattern;
}

}  // namespace
}  // namespace vandrel
