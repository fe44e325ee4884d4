// The rows of a condition list or an action list: each row holds the selector text as
// shown and the object its kind created (none when the text names no kind). The two
// lists differ only in their interface and cell separator.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "rules/engine_context.h"
#include "rules/kind_registry.h"
#include "rules/rule_text.h"

namespace vandrel {

template <typename Interface>
struct KindRow {
    QString selectorText;
    std::unique_ptr<Interface> object;  // null when the selector names no kind
};

template <typename Interface>
class RowList : public IStringStream {
  public:
    using Row = KindRow<Interface>;

    RowList(const EngineContext& ctx, const char16_t* cellSep) : ctx_(ctx), cellSep_(cellSep) {
        addEmptyRow();
    }

    // Cells: selector text, payload, selector text, payload, ... for rows with an object.
    QString SaveToString() const override {
        QStringList cells;
        for (const Row& row : rows_) {
            if (!row.object) continue;
            cells << row.selectorText << row.object->SaveToString();
        }
        return cells.join(QString::fromUtf16(cellSep_));
    }

    void LoadFromString(const QString& text) override {
        rows_.clear();
        const QStringList cells = SplitText(text, cellSep_);
        // Cells come in pairs; a last cell without a partner is ignored.
        for (qsizetype i = 0; i + 1 < cells.size(); i += 2) {
            Row& row = appendRow(cells.at(i));
            if (row.object) row.object->LoadFromString(cells.at(i + 1));
        }
        if (rows_.empty()) addEmptyRow();
    }

    // The objects of the rows that have one, top to bottom.
    std::vector<Interface*> collection() const {
        std::vector<Interface*> out;
        for (const Row& row : rows_)
            if (row.object) out.push_back(row.object.get());
        return out;
    }

    const std::vector<Row>& rows() const { return rows_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }

    // Appends a row with the given selector text (creating its object) and returns it.
    Row& appendRow(const QString& selectorText) {
        rows_.emplace_back();
        setSelector(static_cast<int>(rows_.size()) - 1, selectorText);
        return rows_.back();
    }
    // Appends a row holding an object made elsewhere (tests, the editor's preview).
    Row& appendRow(const QString& selectorText, std::unique_ptr<Interface> object) {
        rows_.push_back(Row{selectorText, std::move(object)});
        if (rows_.back().object) onCreated(*rows_.back().object);
        return rows_.back();
    }
    void addEmptyRow() { rows_.emplace_back(); }
    // Inserts an empty row below row index (the editor's "+" button).
    void insertEmptyRowAfter(int index) {
        if (index < 0 || index >= rowCount()) return;
        rows_.emplace(rows_.begin() + index + 1);
    }
    void removeRow(int index) {
        if (index < 0 || index >= rowCount()) return;
        rows_.erase(rows_.begin() + index);
    }
    // Sets a row's selector text and replaces its object by a new one of that kind.
    void setSelector(int index, const QString& selectorText) {
        if (index < 0 || index >= rowCount()) return;
        Row& row = rows_[index];
        row.selectorText = selectorText;
        row.object.reset();
        const auto* entry =
            KindRegistry::instance().find(selectorText, static_cast<Interface*>(nullptr));
        if (entry) {
            row.object = entry->create(ctx_);
            onCreated(*row.object);
        }
    }

  protected:
    virtual void onCreated(Interface&) {}

  private:
    EngineContext ctx_;
    const char16_t* cellSep_;
    std::vector<Row> rows_;
};

}  // namespace vandrel
