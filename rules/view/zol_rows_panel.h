// The row management shared by the condition list and the action list of a rule: a grid
// of rows (kind selector, kind editor, row buttons), at most eight rows added by hand and
// never fewer than one, the kind editor replaced when another kind is picked. Every
// change is made in the rule's row list first, so the rule runs what the rows show.
// Subclasses connect the grid to their model list. UI thread only.
#pragma once

#include <QWidget>

#include "rules/view/zol_grid.h"

namespace vandrel {

class KindEditor;
class ZolKindSelector;
class ZolRowButton;

class ZolRowsPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMaxRows = 8;
    static constexpr int kRowHeight = 400;
    static constexpr int kEditorWidth = 3900;
    static constexpr int kEditorHeight = 300;
    static constexpr int kOffset = 10;
    static constexpr int kWidth = kOffset + 1800 + 4000 + 720;
    // Height in twips of a list of this many rows of normal height.
    static constexpr int heightFor(int rows) { return kOffset + rows * kRowHeight; }

    ZolGrid& grid() { return grid_; }
    int rowCount() const { return grid_.rowCount(); }
    ZolKindSelector* selectorAt(int row) const;
    ZolRowButton* buttonsAt(int row) const;
    KindEditor* editorAt(int row) const;

    // Row operations as the row controls trigger them (rows from 1).
    void addRowBelow(int row);
    void deleteRow(int row);
    void chooseKind(int row, const QString& selectorText);
    // Takes every row's controls away; call before the model list is reloaded, since a
    // control losing the focus may still read its row's object.
    void clearRows();

  signals:
    void Resize(int widthTwips, int heightTwips);

  protected:
    ZolRowsPanel(QString editorPrefix, QWidget* parent);
    // Rebuilds every row from the model list.
    void rebuild();

    virtual ZolKindSelector* makeSelector() = 0;
    virtual int modelRowCount() const = 0;
    virtual QString modelSelector(int index) const = 0;
    virtual void modelInsertAfter(int index) = 0;
    virtual void modelRemove(int index) = 0;
    virtual void modelSetSelector(int index, const QString& text) = 0;
    // The editor of the model row's object; null when the row names no kind.
    virtual KindEditor* makeEditor(int index) = 0;

  private:
    void placeRowControls(int row, const QString& selectorText);
    void placeEditor(int row);
    void destroyLater(QWidget* w);
    void refreshRowButtons();
    void refreshTabOrder();
    void onHeightRequest(KindEditor* editor, int twips);
    int rowOf(QWidget* control) const;

    ZolGrid grid_;
    QString editorPrefix_;
    int counter_ = 0;  // grows for every created row and editor, never reset
};

}  // namespace vandrel
