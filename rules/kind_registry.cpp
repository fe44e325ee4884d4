#include "rules/kind_registry.h"

#include "actions/action_add_to.h"
#include "actions/action_copy.h"
#include "actions/action_move.h"
#include "actions/action_rename.h"
#include "actions/action_run.h"
#include "actions/action_shell.h"
#include "conditions/condition_any.h"
#include "conditions/condition_attr.h"
#include "conditions/condition_date.h"
#include "conditions/condition_extension.h"
#include "conditions/condition_in_folder.h"
#include "conditions/condition_kind.h"
#include "conditions/condition_name.h"
#include "conditions/condition_size.h"

namespace vandrel {

namespace {

template <typename T>
std::unique_ptr<IConditionCheck> MakeCondition(const EngineContext&) {
    return std::make_unique<T>();
}

std::unique_ptr<IConditionCheck> MakeFullName(const EngineContext&) {
    auto c = std::make_unique<ConditionName>();
    c->fullNameMode = true;
    return c;
}

template <typename T>
std::unique_ptr<IConditionCheck> MakeContextCondition(const EngineContext& ctx) {
    return std::make_unique<T>(ctx);
}

std::function<std::unique_ptr<IConditionCheck>(const EngineContext&)> MakeDate(const char* attr) {
    const QString code = QString::fromLatin1(attr);
    return [code](const EngineContext& ctx) -> std::unique_ptr<IConditionCheck> {
        auto c = std::make_unique<ConditionDate>(ctx);
        c->SetAttrCode(code);
        return c;
    };
}

template <typename T>
std::unique_ptr<IActionTake> MakeAction(const EngineContext& ctx) {
    return std::make_unique<T>(ctx);
}

std::function<std::unique_ptr<IActionTake>(const EngineContext&)> MakeShell(const char* verb) {
    const QString op = QString::fromLatin1(verb);
    return [op](const EngineContext& ctx) -> std::unique_ptr<IActionTake> {
        auto a = std::make_unique<ActionShell>(ctx);
        a->shellOP = op;
        return a;
    };
}

template <typename Entry>
const Entry* FindEntry(const std::vector<Entry>& entries, const QString& selectorText) {
    const QString key = selectorText.toUpper();
    for (const Entry& e : entries)
        if (e.key == key) return &e;
    return nullptr;
}

}  // namespace

const KindRegistry& KindRegistry::instance() {
    static const KindRegistry registry;
    return registry;
}

KindRegistry::KindRegistry() {
    // Condition kinds: key, class identifier, factory (with the settings the selector
    // implies). Order matters only for lookups of equal keys, which never occur.
    conditions_ = {
        {QStringLiteral("NAME"), QStringLiteral("Corvane.ConditionName"),
         MakeCondition<ConditionName>},
        {QStringLiteral("FULL NAME"), QStringLiteral("Corvane.ConditionName"), MakeFullName},
        {QStringLiteral("EXTENSION"), QStringLiteral("Corvane.ConditionExtension"),
         MakeCondition<ConditionExtension>},
        {QStringLiteral("SIZE"), QStringLiteral("Corvane.ConditionSize"),
         MakeContextCondition<ConditionSize>},
        {QStringLiteral("KIND"), QStringLiteral("Corvane.ConditionKind"),
         MakeCondition<ConditionKind>},
        {QStringLiteral("IN FOLDER"), QStringLiteral("Corvane.ConditionInFolder"),
         MakeCondition<ConditionInFolder>},
        {QStringLiteral("ANY"), QStringLiteral("Corvane.ConditionAny"),
         MakeCondition<ConditionAny>},
        {QStringLiteral("DATE CREATED"), QStringLiteral("Corvane.ConditionDate"),
         MakeDate("date.created")},
        {QStringLiteral("DATE LAST MODIFIED"), QStringLiteral("Corvane.ConditionDate"),
         MakeDate("date.modified")},
        {QStringLiteral("DATE LAST ACCESSED"), QStringLiteral("Corvane.ConditionDate"),
         MakeDate("date.accessed")},
        {QStringLiteral("OTHER ATTRIBUTE"), QStringLiteral("Corvane.ConditionAttr"),
         MakeContextCondition<ConditionAttr>},
        {QStringLiteral("MORE ATTRIBUTE"), QStringLiteral("Corvane.ConditionAttr"),
         MakeContextCondition<ConditionAttr>},
    };
    actions_ = {
        {QStringLiteral("MOVE TO"), QStringLiteral("Corvane.ActionMove"), MakeAction<ActionMove>},
        {QStringLiteral("COPY TO"), QStringLiteral("Corvane.ActionCopy"), MakeAction<ActionCopy>},
        {QStringLiteral("RENAME"), QStringLiteral("Corvane.ActionRename"),
         MakeAction<ActionRename>},
        {QStringLiteral("OPEN"), QStringLiteral("Corvane.ActionShell"), MakeShell("open")},
        {QStringLiteral("PRINT"), QStringLiteral("Corvane.ActionShell"), MakeShell("print")},
        {QStringLiteral("RUN"), QStringLiteral("Corvane.ActionRun"), MakeAction<ActionRun>},
        {QStringLiteral("ADD PATH TO"), QStringLiteral("Corvane.ActionAddTo"),
         MakeAction<ActionAddTo>},
    };
}

const ConditionKindEntry* KindRegistry::findCondition(const QString& selectorText) const {
    return FindEntry(conditions_, selectorText);
}

const ActionKindEntry* KindRegistry::findAction(const QString& selectorText) const {
    return FindEntry(actions_, selectorText);
}

QStringList KindRegistry::conditionSelectorEntries() {
    return {QStringLiteral("Name"),
            QStringLiteral("Extension"),
            QStringLiteral("Full Name"),
            QStringLiteral("Date Created"),
            QStringLiteral("Date Last Modified"),
            QStringLiteral("Date Last Accessed"),
            QStringLiteral("Kind"),
            QStringLiteral("Size"),
            QStringLiteral("In Folder"),
            QStringLiteral("Any"),
            QStringLiteral("Other Attribute")};
}

QStringList KindRegistry::actionSelectorEntries() {
    return {QStringLiteral("Move to"),    QStringLiteral("Copy to"), QStringLiteral("Rename"),
            QStringLiteral("Open"),       QStringLiteral("Print"),   QStringLiteral("Run"),
            QStringLiteral("Add Path to")};
}

}  // namespace vandrel
