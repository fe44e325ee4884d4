// The row of quick folders under the basket, over a QuickFolderList: one QuickFolder per
// slot, the last one "Browse...". Choosing a folder, deleting one and dropping items go
// to the model; the moves run on a worker thread so the basket stays responsive. The
// host hands in the log (which it must leave to the worker while busy()) and may replace
// the folder chooser and the opener (tests do).
#pragma once

#include <QList>
#include <QString>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "basket/quick_folder_list.h"

namespace vandrel {

class LogManager;
class QuickFolder;

class QuickFolderPaper : public QWidget {
    Q_OBJECT

  public:
    using Chooser = std::function<QString(QWidget* owner, const QString& title)>;
    using Opener = std::function<void(const QString& folder)>;

    // model must outlive the paper.
    explicit QuickFolderPaper(QuickFolderList& model, QWidget* parent = nullptr);
    ~QuickFolderPaper() override;

    void setLog(LogManager* log) { log_ = log; }
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }
    void setOpener(Opener opener) { opener_ = std::move(opener); }

    void LoadFromString(const QString& text);
    QString SaveToString() const { return model_.SaveToString(); }
    // Rebuilds the rows from the model.
    void refresh();

    std::vector<QuickFolder*> quickFolders() const { return folders_; }
    bool busy() const { return mover_ != nullptr; }
    // What the last quick move did with each item.
    const std::vector<QuickMoveResult>& lastResults() const { return results_; }

  signals:
    // The paper's size in twips, the 20-twip margin included.
    void Resize(int width, int height);
    // Path of the quick folder files are dragged over; empty for "Browse...".
    void DragOverQuickFolder(const QString& folderPath);
    // Raised on the UI thread just before dropped items start to move, so whoever owns
    // the log given to setLog can open it first (connect directly).
    void quickMoveStarting();
    void quickMoveFinished();

  private:
    void onActivated(int slot);
    void onDrop(int slot, const QList<QUrl>& urls);
    void onDragOver(int slot);
    // Asks for a folder and assigns it to the slot; the chosen folder or empty.
    QString chooseFor(int slot);

    QuickFolderList& model_;
    LogManager* log_ = nullptr;
    Chooser chooser_;
    Opener opener_;
    std::vector<QuickFolder*> folders_;
    std::unique_ptr<QThread> mover_;
    std::vector<QuickMoveResult> results_;
};

}  // namespace vandrel
