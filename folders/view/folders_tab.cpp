#include "folders/view/folders_tab.h"

#include <QLabel>

#include "aqua_button.h"
#include "aqua_v_scroll_bar.h"
#include "folders/view/folder_panel.h"
#include "folders/view/folders_paper.h"
#include "folders/watched_folder_list.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {
constexpr int kFrameTop = 600;
constexpr int kListLeft = 15;
constexpr int kListTop = 15;
constexpr int kScrollWidth = 255;
constexpr int kFrameWidth = FolderPanel::kWidthTwips + 40 + 2 * kListLeft;

QRect TwipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}
}  // namespace

FoldersTab::FoldersTab(WatchedFolderList& list, QWidget* parent)
    : QWidget(parent),
      picFolder_(new QWidget(this)),
      oFoldersPaper_(new FoldersPaper(list, picFolder_)),
      oVScrollFolder_(new vitreon::AquaVScrollBar(this)),
      picGuide_(new QWidget(this)),
      btnAddFolder_(new vitreon::AquaButton(this)) {
    const int width = kFrameWidth + kScrollWidth + 60;
    setFixedSize(twipsToPixels(width), twipsToPixels(kFrameTop + kFrameHeightTwips + 420));
    btnAddFolder_->setObjectName(QStringLiteral("btnAddFolder"));
    btnAddFolder_->setCaption(QStringLiteral("New Folder"));
    btnAddFolder_->resize(btnAddFolder_->sizeHint());
    btnAddFolder_->move(0, twipsToPixels(90));
    connect(btnAddFolder_, &vitreon::AquaButton::Click, this, &FoldersTab::addFolder);

    picFolder_->setObjectName(QStringLiteral("picFolder"));
    picFolder_->setGeometry(TwipsRect(0, kFrameTop, kFrameWidth, kFrameHeightTwips));
    picFolder_->setAutoFillBackground(true);
    QPalette pal = picFolder_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    picFolder_->setPalette(pal);
    oFoldersPaper_->setObjectName(QStringLiteral("oFoldersPaper"));
    oFoldersPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop));
    oVScrollFolder_->setObjectName(QStringLiteral("oVScrollFolder"));
    oVScrollFolder_->setGeometry(
        TwipsRect(kFrameWidth + 45, kFrameTop, kScrollWidth, kFrameHeightTwips));
    connect(oVScrollFolder_, &vitreon::AquaVScrollBar::Scroll, this, [this](qint32 v) {
        oFoldersPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop - v));
    });
    connect(oFoldersPaper_, &FoldersPaper::Resize, this, [this](int, int h) { paperResized(h); });

    // The hint points up at "New Folder" from inside the empty frame.
    picGuide_->setObjectName(QStringLiteral("picGuide"));
    picGuide_->setGeometry(TwipsRect(240, kFrameTop + 240, kFrameWidth - 480, 700));
    auto* lblGuide = new QLabel(
        QStringLiteral("Click this button to add a folder which you need to organize."), picGuide_);
    lblGuide->setObjectName(QStringLiteral("lblGuide"));
    lblGuide->setWordWrap(true);
    lblGuide->setGeometry(0, 0, picGuide_->width(), picGuide_->height());
    lblGuide->setStyleSheet(QStringLiteral("color: rgb(60, 90, 160);"));
    auto* note = new QLabel(
        QStringLiteral("Note:The timer automatically starts when you close this window."), this);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setGeometry(TwipsRect(0, kFrameTop + kFrameHeightTwips + 90, kFrameWidth, 300));
    picGuide_->raise();
    paperResized(0);
}

void FoldersTab::enterTab(const std::vector<RuleAttr>& rules) {
    oFoldersPaper_->SetCurRuleAttrs(rules);
    const bool none = oFoldersPaper_->panels().empty();
    picGuide_->setVisible(none);
    // With no folder the (empty) list is moved out of the way of the hint.
    oFoldersPaper_->move(twipsToPixels(kListLeft), twipsToPixels(none ? -100 : kListTop));
}

bool FoldersTab::hintShown() const { return !picGuide_->isHidden(); }

void FoldersTab::addFolder() {
    picGuide_->hide();
    oVScrollFolder_->setValue(1);
    oFoldersPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop));
    oFoldersPaper_->AddNewFolder();
}

void FoldersTab::paperResized(int heightTwips) {
    const int visible = kFrameHeightTwips - kListTop;
    if (heightTwips <= visible) {
        oFoldersPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop));
        oVScrollFolder_->setMin(1);
        oVScrollFolder_->setMax(1);
        return;
    }
    oVScrollFolder_->setMin(1);
    oVScrollFolder_->setValue(1);
    oVScrollFolder_->setMax(heightTwips - visible);
}

}  // namespace vandrel
