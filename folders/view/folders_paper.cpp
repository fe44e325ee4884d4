#include "folders/view/folders_paper.h"

#include <algorithm>

#include "folders/view/folder_panel.h"
#include "folders/watched_folder.h"
#include "folders/watched_folder_list.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {
constexpr int kMargin = 20;
}

FoldersPaper::FoldersPaper(WatchedFolderList& list, QWidget* parent)
    : QWidget(parent), list_(list) {
    refresh();
}

void FoldersPaper::SetCurRuleAttrs(const std::vector<RuleAttr>& rules) {
    list_.SetCurRuleAttrs(rules);
    for (FolderPanel* p : panels_) p->CloseExpand();
}

void FoldersPaper::LoadFromString(const QString& text) {
    list_.LoadFromString(text);
    refresh();
}

QString FoldersPaper::SaveToString() const { return list_.SaveToString(); }

FolderPanel* FoldersPaper::AddNewFolder() {
    list_.AddNewFolder();
    FolderPanel* p = makePanel(0);
    panels_.insert(panels_.begin(), p);
    relayout();
    return p;
}

void FoldersPaper::refresh() {
    qDeleteAll(panels_);
    panels_.clear();
    for (int i = 0; i < list_.folderCount(); ++i) panels_.push_back(makePanel(i));
    relayout();
}

void FoldersPaper::setChooser(std::function<QString(QWidget*, const QString&)> chooser) {
    chooser_ = std::move(chooser);
    for (FolderPanel* p : panels_) p->setChooser(chooser_);
}

FolderPanel* FoldersPaper::makePanel(int index) {
    auto* p = new FolderPanel(list_.folder(index), this);
    if (chooser_) p->setChooser(chooser_);
    connect(p, &FolderPanel::Expand, this, [this, p](bool on) {
        if (on) p->SetCurRulesAttr(list_.curRuleAttrs());
        relayout();
    });
    connect(p, &FolderPanel::FolderClose, this, [this, p] {
        list_.RemoveFolder(&p->folder());
        panels_.erase(std::find(panels_.begin(), panels_.end(), p));
        // The panel is the sender: delete it once its signal has returned.
        p->deleteLater();
        p->hide();
        relayout();
    });
    connect(p, &FolderPanel::InvokeFolderTask, this, &FoldersPaper::InvokeFolderTask);
    p->show();
    return p;
}

void FoldersPaper::relayout() {
    int top = kMargin;
    for (FolderPanel* p : panels_) {
        p->move(twipsToPixels(kMargin), twipsToPixels(top));
        top +=
            (p->expanded() ? FolderPanel::kExpandedTwips : FolderPanel::kCollapsedTwips) + kMargin;
    }
    const int w = FolderPanel::kWidthTwips + 2 * kMargin;
    const int h = top;
    resize(twipsToPixels(w), twipsToPixels(h));
    emit Resize(w, h);
}

}  // namespace vandrel
