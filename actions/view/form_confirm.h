// The confirmation sheet of a watched-folder task: one ConfirmPanel per item some rule
// would handle, "Go" to run the ticked ones, "Cancel" and close to run nothing. Topmost
// and modal. "Go" runs on a worker thread (ConfirmBatch) and the rows show progress; the
// window closes by itself when every item ran through, and stays open when a rule
// stopped so that the user can read why.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "actions/confirm_batch.h"
#include "rules/engine_context.h"

class QLabel;
namespace vitreon {
class AquaButton;
class AquaCloseBtn;
class AquaVScrollBar;
}  // namespace vitreon

namespace vandrel {

class ConfirmPanel;
class RuleList;

class FormConfirm : public QDialog {
    Q_OBJECT

  public:
    // Window and row-area sizes, in twips.
    static constexpr int kWidthTwips = 8000;
    static constexpr int kHeightTwips = 4950;
    static constexpr int kRowPitchTwips = 400;

    explicit FormConfirm(QWidget* parent = nullptr);

    // Builds the rows for the task from the rules' test answers. rules must outlive the
    // window; "Go" runs a copy of them made with workerContext (see ConfirmBatch::Go).
    void SetTaskObj(const AutoFolderTask& task, RuleList& rules,
                    const EngineContext& workerContext = {});

    ConfirmBatch& batch() { return batch_; }
    std::vector<ConfirmPanel*> panels() const { return panels_; }
    // The row area's top inside its frame, in twips (moved by the scroll bar).
    int contentTopTwips() const;

  protected:
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void go();
    void onFinished();
    void layOut();

    ConfirmBatch batch_;
    RuleList* rules_ = nullptr;
    EngineContext workerContext_;
    QLabel* lblFolderName_;
    QWidget* picBack_;
    QWidget* picContent_;
    vitreon::AquaVScrollBar* oVScrollBar_;
    QLabel* lblNo_;
    QLabel* lblProgress_;
    vitreon::AquaButton* btnGo_;
    vitreon::AquaButton* btnCancel_;
    vitreon::AquaCloseBtn* btnClose_;
    std::vector<ConfirmPanel*> panels_;
    QPoint dragFrom_;
};

}  // namespace vandrel
