// Conditions prepare their texts once: one edited between two items (a field assigned,
// changed in place, loaded or set) answers by its new texts at once.
#include <gtest/gtest.h>

#include <functional>

#include "attributes/attribute_helper.h"
#include "conditions/condition_attr.h"
#include "conditions/condition_date.h"
#include "conditions/condition_extension.h"
#include "conditions/condition_kind.h"
#include "conditions/condition_name.h"
#include "conditions/condition_size.h"
#include "platform/clock.h"
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

    ConditionName name;
    ConditionExtension ext;
    ConditionSize size(ctx);
    ConditionKind kind;
    ConditionDate date(ctx);
    ConditionAttr attr(ctx);
    name.LoadFromString(Q("is<|CD|>song one"));
    ext.LoadFromString(Q("is<|CD|>mp3"));
    size.LoadFromString(Q("is<|CD|>Byte<|CD|>1"));
    kind.kind = Q("Music");
    date.LoadFromString(Q("is in the last<|CD|>1<|CD|>Day<|CD|>2008-01-01"));
    attr.LoadFromString(Q("mp3.artist<|CD|>ends with<|CD|>ARTIST"));

    const struct {
        const char* row;
        IConditionCheck* condition;
        std::function<void()> edit;
        bool before, after;
    } rows[] = {
        {"name text changed in place", &name, [&] { name.text.append(Q("s")); }, true, false},
        {"extension edited by index", &ext, [&] { ext.text[0] = u'w'; }, true, false},
        {"size unit and operator", &size,
         [&] { size.unit = Q("KB"), size.op = Q("is greater than"); }, true, false},
        {"size number", &size, [&] { size.number = Q("-0.6"); }, false, true},
        {"kind replaced in place", &kind, [&] { kind.kind.replace(Q("Music"), Q("Image")); }, true,
         false},
        {"date operator", &date, [&] { date.setOperator(Q("is not in the last")); }, true, false},
        {"date unit and operator", &date,
         [&] { date.setOperator(Q("is in the last")), date.setUnit(Q("Minute")); }, false, true},
        {"date number", &date, [&] { date.setNumber(Q("x")); }, true, false},
        {"attribute name", &attr, [&] { attr.setAttribute(Q("mp3.album")); }, true, false},
        {"attribute text", &attr, [&] { attr.setText(Q("album")); }, false, true},
    };
    for (const auto& r : rows) {
        const QString& item = r.condition == &attr ? noteItem : songItem;
        EXPECT_EQ(r.condition->DoCheck(item), r.before) << r.row << " (before)";
        EXPECT_EQ(r.condition->DoCheck(item), r.before) << r.row << " (asked again)";
        r.edit();
        EXPECT_EQ(r.condition->DoCheck(item), r.after) << r.row << " (after)";
    }

    // An attribute value that changes from item to item is compared afresh.
    attr.LoadFromString(Q("name<|CD|>is<|CD|>NOTE"));
    EXPECT_TRUE(!attr.DoCheck(songItem) && attr.DoCheck(noteItem) && !attr.DoCheck(songItem));
}

}  // namespace
}  // namespace vandrel
