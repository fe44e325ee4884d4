// The basket: a small borderless window above all others. Files and folders dropped on
// it run through all rules (elsewhere, through the host's Engine, so the window never
// freezes); while something is dragged over it, it previews which rule would act. Its
// status label shows the outcome and goes back to "Drop files or folders" a second later.
// Below the picture the quick-folder row unfolds. The left button drags the window, the
// other buttons pop up the tray menu, a double click asks for the settings window.
// UI thread only.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "rules/run_outcome.h"

class QLabel;
class QMenu;
class QMimeData;

namespace vandrel {

class AppVarMgr;
class QuickFolderList;
class QuickFolderPaper;

class FormBasket : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kPictureTwips = 1800;  // the picture is square
    static constexpr char kIdleText[] = "Drop files or folders";
    static constexpr char kAutoTaskText[] = "Auto Task is Running";
    static constexpr char kWindowTitle[] = "Vandrel Basket";

    struct Engine {
        // The title of the rule that would act on the path, "no matched rule" or
        // "already in use" (all rules, nothing done).
        std::function<QString(const QString& path)> test;
        // Starts running all rules on the paths, in order; false when a run cannot start
        // now. Each item's outcome comes back through itemFinished, then runFinished.
        std::function<bool(const QStringList& paths)> run;
        // Called when files are dragged onto the basket, before anything else: a drop is
        // likely to follow, and the owner may get ready for it. May be empty.
        std::function<void()> expectDrop;
    };

    // vars and quickFolders must outlive the basket.
    FormBasket(AppVarMgr& vars, QuickFolderList& quickFolders, Engine engine,
               QWidget* parent = nullptr);
    ~FormBasket() override;

    // The menu the right button pops up (the tray menu); not owned.
    void setTrayMenu(QMenu* menu) { trayMenu_ = menu; }
    QuickFolderPaper* quickFolderPaper() const { return oQuickFolderPaper_; }

    // Reads qfolders.txt into the row. Returns what the user must be told (a damaged
    // file kept aside), empty when all is well.
    QString LoadQuickFolders(const QString& file);
    // Writes the row to qfolders.txt; the error, empty on success.
    QString SaveQuickFolders(const QString& file);

    // The outcome of item index (0-based) of the run in hand.
    void itemFinished(int index, const QString& path, const RunOutcome& outcome);
    // The run in hand ended; why is empty, or says why it stopped early.
    void runFinished(const QString& why);

    QString statusText() const;
    // Shows a message in the status text for a second (unless a drop is running).
    void showNotice(const QString& text);
    // False from the end of a drop (or a refusal) until the status resets.
    bool pictureEnabled() const { return pictureEnabled_; }
    bool running() const { return !listFiles_.isEmpty() && runActive_; }
    bool quickPanelOpen() const { return quickPanelOpen_; }
    void setQuickPanelOpen(bool open);
    // Timer1's tick: the picture takes drops again and the idle text returns (tests call
    // it instead of waiting a second).
    void resetStatus();

  signals:
    void settingsRequested();
    // A single dropped item matched no rule.
    void wizardRequested(const QString& path);
    void dropStarted(int items);
    void dropFinished(int items);
    // The status text changed (each step of a drop's progress, for instance).
    void statusShown(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The refusal text for a drop or a drag-over, empty when it may go ahead.
    QString refusal(bool drop) const;
    void dragOver(QDropEvent* event, bool entered);
    // Shows text and starts Timer1; hold keeps it up longer (a step not done).
    void showStatus(const QString& text, bool hold = false);
    void setLabel(const QString& text);
    void fitHeight();
    static QStringList localPaths(const QMimeData* data);

    AppVarMgr& vars_;
    QuickFolderList& quickFolders_;
    Engine engine_;
    QMenu* trayMenu_ = nullptr;
    QString status_;  // the whole status text (the label may show it shortened)
    QLabel* label1_;
    QLabel* lblQFolder_;
    QLabel* lblSetting_;
    QuickFolderPaper* oQuickFolderPaper_;
    QTimer timer1_;
    QTimer hold_;
    bool pictureEnabled_ = true;
    bool quickPanelOpen_ = false;
    QStringList listFiles_;
    QStringList previewPaths_;
    QString previewText_;
    bool runActive_ = false;
    // When the progress text last changed: a long drop shows it a few times a second, not
    // once per item (each change is drawn, and the drawing slowed a 10,000-item drop).
    QElapsedTimer progressShown_;
    QString lastResult_;
    int notDone_ = 0;
    QString firstNotDone_;
};

}  // namespace vandrel
