#include "rules/kind_registry.h"

namespace vandrel {

namespace {

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
    conditions_ = {};
    actions_ = {};
}

const ConditionKindEntry* KindRegistry::findCondition(const QString& selectorText) const {
    return FindEntry(conditions_, selectorText);
}

const ActionKindEntry* KindRegistry::findAction(const QString& selectorText) const {
    return FindEntry(actions_, selectorText);
}

QStringList KindRegistry::conditionSelectorEntries() {
    return {QStringLiteral("Name"),         QStringLiteral("Extension"),
            QStringLiteral("Full Name"),    QStringLiteral("Date Created"),
            QStringLiteral("Date Last Modified"), QStringLiteral("Date Last Accessed"),
            QStringLiteral("Kind"),         QStringLiteral("Size"),
            QStringLiteral("In Folder"),    QStringLiteral("Any"),
            QStringLiteral("Other Attribute")};
}

QStringList KindRegistry::actionSelectorEntries() {
    return {QStringLiteral("Move to"), QStringLiteral("Copy to"), QStringLiteral("Rename"),
            QStringLiteral("Open"),    QStringLiteral("Print"),   QStringLiteral("Run"),
            QStringLiteral("Add Path to")};
}

}  // namespace vandrel
