// The base of every condition and action editor: a widget in column 2 of a rule row
// that edits its kind's model object directly, so the rule runs what the row shows.
// An action editor with options asks its list for a taller row through rowHeightRequest
// and shows the options while it is that tall.
#pragma once

#include <QWidget>
#include <vector>

namespace wexcontrols {
class WexExpandBtn;
}

namespace vandrel {

class KindEditor : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

    // Row height in twips while the options are shown; 0 when there are none.
    virtual int raisedHeight() const { return 0; }
    bool optionsShown() const;

  signals:
    // twips > 0: the row and the editor take that height; 0: back to the normal height.
    void rowHeightRequest(int twips);

  protected:
    // The "Adv." toggle: asks for the raised row while the editor is lower than 500
    // twips, else for the normal one.
    wexcontrols::WexExpandBtn* makeOptionsToggle();
    // A field shown only while the options are.
    void addOption(QWidget* w) { options_.push_back(w); }
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::vector<QWidget*> options_;
    wexcontrols::WexExpandBtn* toggle_ = nullptr;
};

}  // namespace vandrel
