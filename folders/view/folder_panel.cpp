#include "folders/view/folder_panel.h"

#include <QLabel>
#include <QLocale>

#include "folders/view/rules_selector.h"
#include "folders/watched_folder.h"
#include "standard/wex_button.h"
#include "standard/wex_check.h"
#include "standard/wex_combo.h"
#include "standard/wex_expand_btn.h"
#include "standard/wex_folder.h"
#include "standard/wex_standard_btn.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {

constexpr int kLineTop = 65;
constexpr int kLineHeight = 300;

template <typename W>
W* Make(QWidget* parent, const char* name, int left, int top, int width, int height = kLineHeight) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                   twipsToPixels(height));
    return w;
}

QLabel* Label(QWidget* parent, const QString& text, int left, int top, int width) {
    auto* l = Make<QLabel>(parent, "", left, top, width);
    l->setText(text);
    return l;
}

wexcontrols::WexCombo* Combo(QWidget* parent, const char* name, const QStringList& items, int left,
                             int width) {
    auto* c = Make<wexcontrols::WexCombo>(parent, name, left, kLineTop, width);
    for (const QString& item : items) c->AddItem(item);
    return c;
}

QString DateText(const QDateTime& t) { return QLocale().toString(t, QLocale::ShortFormat); }

}  // namespace

FolderPanel::FolderPanel(WatchedFolder& folder, QWidget* parent)
    : QWidget(parent),
      folder_(folder),
      chkEnable_(Make<wexcontrols::WexCheck>(this, "chkEnable", 60, kLineTop, 1150)),
      cmbFolder_(Make<wexcontrols::WexFolder>(this, "cmbFolder", 1240, kLineTop, 1800)),
      cmbMethod_(Combo(this, "cmbMethod", WatchedFolder::methodItems(), 3080, 1000)),
      cmbInterval_(Combo(this, "cmbInterval", WatchedFolder::intervalItems(), 4120, 1150)),
      cmbHour_(Combo(this, "cmbHour", WatchedFolder::hourItems(), 4120, 700)),
      lblTime_(Label(this, QStringLiteral(":"), 4830, kLineTop, 60)),
      cmbMinute_(Combo(this, "cmbMinute", WatchedFolder::minuteItems(), 4900, 700)),
      btnExpand_(Make<wexcontrols::WexExpandBtn>(this, "btnExpand", 5650, kLineTop, 760)),
      btnClose_(Make<wexcontrols::WexButton>(this, "btnClose", 6440, kLineTop, 300)),
      expandedPart_(Make<QWidget>(this, "expandedPart", 0, kCollapsedTwips, kWidthTwips,
                                  kExpandedTwips - kCollapsedTwips)),
      lblLastTime_(nullptr),
      lblNextTime_(nullptr),
      lblNotify_(nullptr),
      btnInvoke_(nullptr),
      chkConfirm_(nullptr),
      oRulesSelector_(nullptr) {
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kCollapsedTwips));
    // The row's sizes were laid out for an 8-point face.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    chkEnable_->setCaption(QStringLiteral("Organize"));
    btnExpand_->setText(QStringLiteral("Adv."));
    btnClose_->setButtonStyle(QStringLiteral("close"));
    btnClose_->setToolTip(QStringLiteral("Remove this folder"));

    QWidget* x = expandedPart_;
    Label(x, QStringLiteral("Last organized time:"), 120, 60, 3300);
    lblLastTime_ = Make<QLabel>(x, "lblLastTime", 360, 330, 3100);
    Label(x, QStringLiteral("Vandrel will organize this folder at:"), 120, 660, 3300);
    lblNextTime_ = Make<QLabel>(x, "lblNextTime", 360, 930, 3100);
    lblNotify_ = Make<QLabel>(x, "lblNotify", 120, 1260, 3300);
    btnInvoke_ = Make<wexcontrols::WexStandardBtn>(x, "btnInvoke", 120, 1560, 1500, 360);
    btnInvoke_->setText(QStringLiteral("Organize Now"));
    chkConfirm_ = Make<wexcontrols::WexCheck>(x, "chkConfirm", 1740, 1590, 2050);
    chkConfirm_->setCaption(QStringLiteral("Ask for confirmation"));
    oRulesSelector_ = new RulesSelector(folder_.selector(), x);
    oRulesSelector_->setObjectName(QStringLiteral("oRulesSelector"));
    oRulesSelector_->move(twipsToPixels(kWidthTwips - RulesSelector::kWidthTwips - 120),
                          twipsToPixels(60));
    expandedPart_->hide();

    connect(chkEnable_, &wexcontrols::WexCheck::Click, this,
            [this] { folder_.setEnabled(chkEnable_->Value() != 0); });
    connect(chkConfirm_, &wexcontrols::WexCheck::Click, this,
            [this] { folder_.setConfirm(chkConfirm_->Value() != 0); });
    connect(cmbFolder_, &wexcontrols::WexFolder::Click, this, [this] {
        // A path that cannot be stored is refused by the model; show what it holds.
        folder_.setFolderPath(cmbFolder_->Text());
        refresh();
    });
    connect(cmbMethod_, &wexcontrols::WexCombo::Click, this, [this] {
        folder_.setMethod(cmbMethod_->Text());
        applyMethod();
    });
    connect(cmbInterval_, &wexcontrols::WexCombo::Click, this,
            [this] { folder_.setInterval(cmbInterval_->Text()); });
    connect(cmbHour_, &wexcontrols::WexCombo::Click, this,
            [this] { folder_.setHour(cmbHour_->Text()); });
    connect(cmbMinute_, &wexcontrols::WexCombo::Click, this,
            [this] { folder_.setMinute(cmbMinute_->Text()); });
    connect(btnExpand_, &wexcontrols::WexExpandBtn::Click, this,
            [this] { setExpanded(btnExpand_->Expanded()); });
    connect(btnClose_, &wexcontrols::WexButton::Click, this, &FolderPanel::FolderClose);
    connect(btnInvoke_, &wexcontrols::WexStandardBtn::Click, this, &FolderPanel::Invoke);
    refresh();
}

void FolderPanel::refresh() {
    chkEnable_->setValue(folder_.enabled() ? 1 : 0);
    cmbFolder_->setText(folder_.folderPath());
    cmbMethod_->setText(folder_.method());
    cmbInterval_->setText(folder_.interval());
    cmbHour_->setText(folder_.hour());
    cmbMinute_->setText(folder_.minute());
    chkConfirm_->setValue(folder_.confirm() ? 1 : 0);
    applyMethod();
    showTimes();
}

void FolderPanel::applyMethod() {
    const bool at = folder_.methodIsAt();
    cmbInterval_->setVisible(!at);
    cmbHour_->setVisible(at);
    lblTime_->setVisible(at);
    cmbMinute_->setVisible(at);
}

void FolderPanel::showTimes() {
    lblLastTime_->setText(DateText(folder_.lastRunTime()));
    lblNextTime_->setText(DateText(folder_.nextRunTime()));
}

bool FolderPanel::expanded() const { return btnExpand_->Expanded(); }

void FolderPanel::CloseExpand() { setExpanded(false); }

void FolderPanel::setExpanded(bool on) {
    btnExpand_->setExpanded(on);
    expandedPart_->setVisible(on);
    showTimes();
    resize(width(), twipsToPixels(on ? kExpandedTwips : kCollapsedTwips));
    emit Expand(on);
}

QString FolderPanel::folderNameText() const { return folder_.folderNameText(); }

void FolderPanel::InvokeNotify(const QString& text) { lblNotify_->setText(text); }

void FolderPanel::InvodeResult(const QString& text) {
    btnInvoke_->show();
    lblNotify_->setText(text);
}

void FolderPanel::Invoke() {
    btnInvoke_->hide();
    emit InvokeFolderTask(this);
}

void FolderPanel::SetCurRulesAttr(const std::vector<RuleAttr>& rules) {
    oRulesSelector_->SetCurRuleAttrs(rules);
}

void FolderPanel::setChooser(const Chooser& chooser) { cmbFolder_->setChooser(chooser); }

}  // namespace vandrel
