// Conditions prepare their texts once and keep the prepared form between items: a condition
// edited between two items (a field assigned, changed in place, loaded or set) must answer
// by its new texts at once, and an attribute value that changes between items must be
// compared afresh.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "attributes/attribute_helper.h"
#include "conditions/condition_attr.h"
#include "conditions/condition_date.h"
#include "conditions/condition_extension.h"
#include "conditions/condition_kind.h"
#include "conditions/condition_name.h"
#include "conditions/condition_size.h"
#include "platform/clock.h"
#include "rules/rule.h"
#include "rules/rule_text.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

TEST(ConditionEdit, EditedBetweenItemsAnswersByTheNewTexts) {
    test::TempDir dir;
    const QString song = dir.file(Q("Song One.mp3")), note = dir.file(Q("note.txt"));
    ASSERT_TRUE(test::WriteFile(song, "x") && test::WriteFile(note, "xy"));
    const QString songItem = MakeParamList(Q("file"), song);
    const QString noteItem = MakeParamList(Q("file"), note);
    FakeClock clock(QDateTime::currentDateTime());
    AttributeHelper attributes(&clock);
    EngineContext ctx;
    ctx.attributes = &attributes;
    ctx.clock = &clock;

    auto name = std::make_shared<ConditionName>();
    auto ext = std::make_shared<ConditionExtension>();
    auto size = std::make_shared<ConditionSize>(ctx);
    auto kind = std::make_shared<ConditionKind>();
    auto date = std::make_shared<ConditionDate>(ctx);
    auto attr = std::make_shared<ConditionAttr>(ctx);
    name->LoadFromString(Q("is<|CD|>song one"));
    ext->LoadFromString(Q("is<|CD|>mp3"));
    size->LoadFromString(Q("is<|CD|>Byte<|CD|>1"));
    kind->kind = Q("Music");
    date->LoadFromString(Q("is in the last<|CD|>1<|CD|>Day<|CD|>2008-01-01"));
    attr->LoadFromString(Q("mp3.artist<|CD|>ends with<|CD|>ARTIST"));

    const struct {
        const char* row;
        IConditionCheck* condition;
        QString item;
        std::function<void()> edit;
        bool before, after;
    } rows[] = {
        {"name text changed in place", name.get(), songItem, [&] { name->text.append(Q("s")); },
         true, false},
        {"name operator assigned", name.get(), songItem,
         [&] { name->op = Q("starts with"), name->text = Q("SONG"); }, false, true},
        {"name loaded", name.get(), songItem, [&] { name->LoadFromString(Q("contains<|CD|>x")); },
         true, false},
        {"extension text edited by index", ext.get(), songItem, [&] { ext->text[0] = u'w'; }, true,
         false},
        {"extension operator", ext.get(), songItem,
         [&] { ext->op = Q("is included in"), ext->text = Q("wav,mp3"); }, false, true},
        {"size number", size.get(), songItem, [&] { size->number = Q("2"); }, true, false},
        {"size unit and operator", size.get(), songItem,
         [&] { size->unit = Q("KB"), size->op = Q("is less than"), size->number = Q("1"); }, false,
         true},
        {"size number no number", size.get(), songItem, [&] { size->number = Q("one"); }, true,
         false},
        {"kind replaced in place", kind.get(), songItem,
         [&] { kind->kind.replace(Q("Music"), Q("Image")); }, true, false},
        {"kind assigned back", kind.get(), songItem, [&] { kind->kind = Q("Music"); }, false, true},
        {"date operator", date.get(), songItem, [&] { date->setOperator(Q("is not in the last")); },
         true, false},
        {"date unit", date.get(), songItem,
         [&] { date->setOperator(Q("is in the last")), date->setUnit(Q("Minute")); }, false, true},
        {"date number", date.get(), songItem, [&] { date->setNumber(Q("x")); }, true, false},
        {"attribute name", attr.get(), noteItem, [&] { attr->setAttribute(Q("mp3.album")); }, true,
         false},
        {"attribute text", attr.get(), noteItem, [&] { attr->setText(Q("album")); }, false, true},
        {"attribute operator", attr.get(), noteItem, [&] { attr->setOperator(Q("is")); }, true,
         false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.condition->DoCheck(r.item), r.before) << r.row << " (before)";
        EXPECT_EQ(r.condition->DoCheck(r.item), r.before) << r.row << " (asked again)";
        r.edit();
        EXPECT_EQ(r.condition->DoCheck(r.item), r.after) << r.row << " (after)";
    }

    // The value compared changes from item to item: each is upper-cased for itself.
    ConditionAttr byName(ctx);
    byName.LoadFromString(Q("name<|CD|>is<|CD|>NOTE"));
    for (int round = 0; round < 2; ++round) {
        EXPECT_FALSE(byName.DoCheck(songItem)) << round;
        EXPECT_TRUE(byName.DoCheck(noteItem)) << round;
    }

    // A rule's match mode set anew is followed at once.
    Rule rule(ctx);
    rule.LoadFromString(
        Q("r<|RU|>All<|RU|>Any<|CP|>anything<|CD|>anything<|CP|>Name<|CP|>"
          "is<|CD|>zz<|RU|><|RU|>"));
    EXPECT_FALSE(rule.JustDoCheck(noteItem));
    rule.setMatchMode(Q("Any"));
    EXPECT_TRUE(rule.JustDoCheck(noteItem));
    rule.setMatchMode(Q("aLL"));
    EXPECT_FALSE(rule.JustDoCheck(noteItem));
}

}  // namespace
}  // namespace vandrel
