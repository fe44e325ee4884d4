#include "actions/view/action_editor_parts.h"

#include <QLabel>

#include "actions/view/pattern_input.h"
#include "attributes/attribute_helper.h"
#include "controls/standard/wex_insert.h"
#include "controls/standard/wex_radio.h"
#include "rules/view/editor_fields.h"
#include "rules/view/view_twips.h"

namespace vandrel {

std::vector<QWidget*> AddConflictChoice(QWidget* parent, int top, int renameValue,
                                        std::function<void(bool)> setRename) {
    auto* caption = MakeCaption(parent, QStringLiteral("If file/folder exists:"));
    PlaceField(caption, 0, top, 3900);
    auto* rename =
        MakeRadio(parent, QStringLiteral("optRename"), QStringLiteral("rename"), renameValue == 1);
    auto* replace = MakeRadio(parent, QStringLiteral("optReplace"),
                              QStringLiteral("replace (rename the old one)"), renameValue != 1);
    PlaceField(rename, 100, top + 330, 1000);
    PlaceField(replace, 1150, top + 330, 2750);
    // The radios do not clear each other; the host keeps them exclusive.
    QObject::connect(rename, &wexcontrols::WexRadio::Click, parent, [=] {
        replace->setValue(0);
        setRename(true);
    });
    QObject::connect(replace, &wexcontrols::WexRadio::Click, parent, [=] {
        rename->setValue(0);
        setRename(false);
    });
    return {caption, rename, replace};
}

PatternInput* AddPatternWithInsert(QWidget* parent, Pattern& pattern, int left, int top,
                                   int patternWidth, QWidget** insertList, int right) {
    static const QStringList names = AttributeHelper().GetAttrList();
    auto* input = new PatternInput(pattern, parent);
    input->setWidthTwips(patternWidth);
    input->move(TwipsToPx(left), TwipsToPx(top));
    auto* insert = MakeInsertList(parent, names);
    PlaceField(insert, left + patternWidth + 50, top, right - left - patternWidth - 50);
    QObject::connect(insert, &wexcontrols::WexInsert::InsertText, input,
                     [&pattern, input](const QString& name) {
                         // Picking before the pattern was ever clicked would do nothing; the
                         // token then goes to the end, where a click on the free area puts
                         // the caret.
                         if (pattern.currentSegment() < 0) pattern.ClickFreeArea();
                         input->InsertPattern(name);
                     });
    if (insertList) *insertList = insert;
    return input;
}

}  // namespace vandrel
