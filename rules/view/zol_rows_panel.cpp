#include "rules/view/zol_rows_panel.h"

#include "controls/standard/wex_button.h"
#include "rules/view/kind_editor.h"
#include "rules/view/view_twips.h"
#include "rules/view/zol_kind_selector.h"
#include "rules/view/zol_row_button.h"

namespace vandrel {

ZolRowsPanel::ZolRowsPanel(QString editorPrefix, QWidget* parent)
    : QWidget(parent), grid_(this), editorPrefix_(std::move(editorPrefix)) {
    grid_.Init(kOffset, kOffset);
    grid_.addCol(1800);
    grid_.addCol(4000);
    grid_.addCol(720);
    // The row texts ("Date Last Modified", "is included in") must fit columns fixed in
    // twips; a condensed face where the font has one keeps them whole.
    QFont rowFont = font();
    rowFont.setStretch(QFont::SemiCondensed);
    setFont(rowFont);
    connect(&grid_, &ZolGrid::Resize, this, [this](int w, int h) {
        setFixedSize(TwipsToPx(kOffset + w), TwipsToPx(kOffset + h));
        emit Resize(kOffset + w, kOffset + h);
    });
}

ZolKindSelector* ZolRowsPanel::selectorAt(int row) const {
    return qobject_cast<ZolKindSelector*>(grid_.getControl(1, row));
}
KindEditor* ZolRowsPanel::editorAt(int row) const {
    return qobject_cast<KindEditor*>(grid_.getControl(2, row));
}
ZolRowButton* ZolRowsPanel::buttonsAt(int row) const {
    return qobject_cast<ZolRowButton*>(grid_.getControl(3, row));
}

int ZolRowsPanel::rowOf(QWidget* control) const {
    // Looked up by cell rather than by the recorded position, so a row is found even
    // between a change and the layout that follows it.
    for (int r = 1; r <= grid_.rowCount(); ++r)
        for (QWidget* w : grid_.getRowControls(r))
            if (w == control) return r;
    return 0;
}

void ZolRowsPanel::clearRows() {
    for (int r = grid_.rowCount(); r >= 1; --r) {
        for (QWidget* w : grid_.getRowControls(r)) destroyLater(w);
        grid_.delRow(r);
    }
}

void ZolRowsPanel::rebuild() {
    clearRows();
    for (int i = 0; i < modelRowCount(); ++i) {
        grid_.addRow(-1, kRowHeight);
        placeRowControls(i + 1, modelSelector(i));
        placeEditor(i + 1);
    }
    grid_.ReArrange();
    refreshRowButtons();
}

void ZolRowsPanel::placeRowControls(int row, const QString& selectorText) {
    const int number = ++counter_;
    ZolKindSelector* selector = makeSelector();
    selector->setParent(this);
    selector->setObjectName(QStringLiteral("selector%1").arg(number));
    selector->LoadFromString(selectorText);
    selector->show();
    connect(selector, &ZolKindSelector::SelectChange, this, [this, selector](const QString& t) {
        if (const int r = rowOf(selector)) chooseKind(r, t);
    });
    auto* buttons = new ZolRowButton(this);
    buttons->setObjectName(QStringLiteral("rowButton%1").arg(number));
    buttons->show();
    connect(buttons, &ZolRowButton::RowAdd, this, [this, buttons] {
        if (const int r = rowOf(buttons)) addRowBelow(r);
    });
    connect(buttons, &ZolRowButton::RowDel, this, [this, buttons] {
        if (const int r = rowOf(buttons)) deleteRow(r);
    });
    grid_.appendControl(selector, 1, row);
    grid_.appendControl(buttons, 3, row);
}

void ZolRowsPanel::refreshTabOrder() {
    // Tab walks the rows from the top: selector, the editor's fields, add, delete.
    QWidget* prev = nullptr;
    auto chain = [&prev](QWidget* w) {
        if (prev) QWidget::setTabOrder(prev, w);
        prev = w;
    };
    for (int r = 1; r <= grid_.rowCount(); ++r) {
        if (ZolKindSelector* s = selectorAt(r)) chain(s);
        if (KindEditor* e = editorAt(r)) {
            const auto fields = e->findChildren<QWidget*>();
            for (QWidget* f : fields)
                // Pop-ups of combo boxes and date fields are windows of their own.
                if ((f->focusPolicy() & Qt::TabFocus) && !f->focusProxy() &&
                    f->window() == window())
                    chain(f);
        }
        if (ZolRowButton* b = buttonsAt(r)) {
            chain(b->addButton());
            chain(b->delButton());
        }
    }
}

void ZolRowsPanel::placeEditor(int row) {
    KindEditor* editor = makeEditor(row - 1);
    if (!editor) return;
    editor->setParent(this);
    editor->setObjectName(editorPrefix_ + QString::number(++counter_));
    editor->setFixedSize(TwipsToPx(kEditorWidth), TwipsToPx(kEditorHeight));
    editor->show();
    connect(editor, &KindEditor::rowHeightRequest, this,
            [this, editor](int twips) { onHeightRequest(editor, twips); });
    grid_.appendControl(editor, 2, row);
}

void ZolRowsPanel::destroyLater(QWidget* w) {
    // Controls may be destroyed from their own signal (a row's delete button), so they
    // are hidden and cut off now and deleted once that signal has returned.
    w->hide();
    w->disconnect(this);
    w->deleteLater();
}

void ZolRowsPanel::addRowBelow(int row) {
    if (row < 1 || row > grid_.rowCount() || grid_.rowCount() >= kMaxRows) return;
    modelInsertAfter(row - 1);
    grid_.addRow(row, kRowHeight);
    placeRowControls(row + 1, QString());
    grid_.ReArrange();
    refreshRowButtons();
}

void ZolRowsPanel::deleteRow(int row) {
    if (row < 1 || row > grid_.rowCount() || grid_.rowCount() <= 1) return;
    for (QWidget* w : grid_.getRowControls(row)) destroyLater(w);
    modelRemove(row - 1);
    grid_.delRow(row);
    grid_.ReArrange();
    refreshRowButtons();
}

void ZolRowsPanel::chooseKind(int row, const QString& selectorText) {
    if (row < 1 || row > grid_.rowCount()) return;
    if (QWidget* old = grid_.getControl(2, row)) {
        grid_.releaseControl(2, row);
        destroyLater(old);
    }
    if (selectorAt(row)->SelectText() != selectorText)
        selectorAt(row)->LoadFromString(selectorText);
    modelSetSelector(row - 1, selectorText);
    placeEditor(row);
    grid_.resizeRowHeight(row, kRowHeight);
    grid_.ReArrange();
    refreshTabOrder();
}

void ZolRowsPanel::refreshRowButtons() {
    refreshTabOrder();
    const int rows = grid_.rowCount();
    for (int r = 1; r <= rows; ++r) {
        ZolRowButton* b = buttonsAt(r);
        if (!b) continue;
        b->EnableAddButton(rows < kMaxRows);
        b->EnableDelButton(rows > 1);
    }
}

void ZolRowsPanel::onHeightRequest(KindEditor* editor, int twips) {
    const int row = rowOf(editor);
    if (row == 0) return;
    const bool raise = twips > 0;
    grid_.resizeRowHeight(row, raise ? twips : kRowHeight);
    editor->setFixedHeight(TwipsToPx(raise ? twips : kEditorHeight));
    grid_.ReArrange();
}

}  // namespace vandrel
