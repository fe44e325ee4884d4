// The log tab of the settings window: the search box, the result grid with its page
// buttons and label, and below it the details of the selected row with "Open" and
// "Locate", enabled only while the row's destination exists. The search itself is
// driven by a FormSearch, which exists only while the tab is the current one. With an
// UndoWorker, "Undo this take" and "Undo this run" take back the selected row's take or run
// after a confirmation that says how many items, with progress below the buttons.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QTableWidget;
namespace vitreon {
class AquaButton;
class AquaSearchBox;
}  // namespace vitreon

namespace vandrel {

class FormSearch;
class LogReader;
class UndoWorker;
struct UndoReport;

class LogTab : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 7200;
    static constexpr int kHeightTwips = 8100;

    // reader must outlive the tab.
    explicit LogTab(LogReader& reader, QWidget* parent = nullptr);
    ~LogTab() override;

    // The tab became current: a fresh FormSearch starts (none is made while one exists).
    void enterTab();
    // The tab is left: the FormSearch goes.
    void leaveTab();
    FormSearch* formSearch() const { return formSearch_.get(); }

    QTableWidget* grid() const { return oLogGrid_; }
    // The details of a grid row (0 is the first data row), as a click on it shows them.
    void showDetails(int row);

    // The undo model (may be null: no undo buttons); it must outlive the tab.
    void setUndoWorker(UndoWorker* undo);
    // Asks the user; true to go on. The default is a question box; tests set their own.
    using Confirm = std::function<bool(const QString& title, const QString& text)>;
    void setConfirm(Confirm confirm) { confirm_ = std::move(confirm); }
    // "Undo this take" (false) or "Undo this run" (true) for the selected row.
    void undoSelected(bool wholeRun);

  signals:
    // The details labels show the record asked for last.
    void detailsShown();
    // An undo started from the tab ended; the label below the buttons says how it went.
    void undoFinished();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void openFile();
    void locate();
    void undoDone(const UndoReport& report);
    qint64 selectedId() const;

    LogReader& reader_;
    std::unique_ptr<FormSearch> formSearch_;
    vitreon::AquaSearchBox* oAquaSearchBox_;
    QTableWidget* oLogGrid_;
    vitreon::AquaButton* btnLogLater_;
    vitreon::AquaButton* btnLogEarlier_;
    QLabel* lblPage_;
    QLabel* lblLogTime_;
    QLabel* lblLogRuleTitle_;
    QLabel* lblLogActionName_;
    QLabel* lblLogOriPath_;
    QLabel* lblLogDstPath_;
    vitreon::AquaButton* btnOpenFile_;
    vitreon::AquaButton* btnLocate_;
    vitreon::AquaButton* btnUndoTake_;
    vitreon::AquaButton* btnUndoRun_;
    QLabel* lblUndo_;
    UndoWorker* undo_ = nullptr;
    Confirm confirm_;
    quint64 detailsRequest_ = 0;
};

}  // namespace vandrel
