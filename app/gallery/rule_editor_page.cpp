#include "rule_editor_page.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "rules/rule_list.h"
#include "rules/view/rules_paper.h"
#include "rules/view/zol_action_panel.h"
#include "rules/view/zol_rule_panel.h"

namespace {

// Three rules as a user might keep them: photos sorted by month, invoices renamed and
// listed, music filed by artist.
const char kRules[] =
    "Photos by month<|RU|>All<|RU|>"
    "Extension<|CP|>is included in<|CD|>jpg,png,heic<|CP|>"
    "Date Last Modified<|CP|>is in the last<|CD|>2<|CD|>Week<|CD|>2026-12-01"
    "<|RU|>Move to<|AP|>/home/ana/Pictures<|AC|>1<|AC|><//>date.modified<//><|AC|>1"
    "<|RU|>6F1C2A3B-1D2E-4F50-8A6B-7C8D9E0F1A2B<|RP|>"
    "Invoices<|RU|>Any<|RU|>"
    "Name<|CP|>contains<|CD|>invoice<|CP|>Full Name<|CP|>starts with<|CD|>INV-"
    "<|CP|>Size<|CP|>is less than<|CD|>MB<|CD|>5"
    "<|RU|>Rename<|AP|>invoice-<//>date.created<//>.<//>extension<//><|AC|>1<|AP|>"
    "Copy to<|AP|>/home/ana/Documents/Invoices<|AC|>0<|AC|><//>date.current<//><|AC|>1<|AP|>"
    "Add Path to<|AP|>/home/ana/invoices.txt"
    "<|RU|>0A1B2C3D-4E5F-4061-8273-8495A6B7C8D9<|RP|>"
    "Quartet recordings<|RU|>All<|RU|>"
    "Kind<|CP|>Music<|CD|>forkind<|CP|>Other Attribute<|CP|>mp3.artist<|CD|>contains<|CD|>Quartet"
    "<|RU|>Move to<|AP|>/home/ana/Music<|AC|>1<|AC|><//>mp3.artist<//>/<//>mp3.album<//><|AC|>1"
    "<|AP|>Open<|AP|>1"
    "<|RU|>B1C2D3E4-F5A6-4B7C-9D8E-0F1A2B3C4D5E";

}  // namespace

RuleEditorPage::RuleEditorPage(QWidget* parent)
    : QWidget(parent), rules_(std::make_unique<vandrel::RuleList>(vandrel::EngineContext{})) {
    setObjectName(QStringLiteral("ruleEditorPage"));
    rules_->LoadFromString(QString::fromUtf8(kRules));
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("rulesScroll"));
    scroll->setWidgetResizable(false);
    scroll->setFrameShape(QFrame::NoFrame);
    paper_ = new vandrel::RulesPaper(*rules_);
    scroll->setWidget(paper_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(scroll);
    // Show the options of the third rule's move, so the page has one raised row.
    if (vandrel::ZolRulePanel* third = paper_->panel(2)) {
        const auto toggles =
            third->actionPanel()->findChildren<QWidget*>(QStringLiteral("cmdOptions"));
        if (!toggles.isEmpty()) {
            QWidget* adv = toggles.first();
            const QPointF at = QRectF(adv->rect()).center();
            for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent e(t, at, adv->mapToGlobal(at), Qt::LeftButton,
                              t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
                QApplication::sendEvent(adv, &e);
            }
        }
    }
}

QSize RuleEditorPage::sizeHint() const { return {paper_->width() + 40, 760}; }

RuleEditorPage::~RuleEditorPage() {
    // The paper edits the rules; it goes first.
    delete paper_;
}
