#include "glossy_controls_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "aqua_add_button.h"
#include "aqua_button.h"
#include "aqua_check.h"
#include "aqua_check_light.h"
#include "aqua_close_btn.h"
#include "aqua_function_button.h"
#include "aqua_help_button.h"
#include "aqua_radio.h"
#include "aqua_search_box.h"
#include "aqua_tab.h"
#include "aqua_v_scroll_bar.h"
#include "grey_close.h"

using namespace vitreon;

namespace {

QLabel* sectionTitle(const QString& text) {
    auto* label = new QLabel(text);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

// A picture button with its name below it.
QWidget* labelled(QWidget* control, const QString& name) {
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);
    // Every picture sits in a slot of one height, so the names below line up.
    auto* slot = new QWidget;
    slot->setFixedHeight(28);
    auto* h = new QHBoxLayout(slot);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(control, 0, Qt::AlignCenter);
    v->addWidget(slot);
    auto* label = new QLabel(name);
    label->setAlignment(Qt::AlignHCenter);
    v->addWidget(label);
    return box;
}

}  // namespace

GlossyControlsPage::GlossyControlsPage(QWidget* parent)
    : QWidget(parent), lblEvent_(new QLabel(tr("Last event: none"))) {
    setObjectName(QStringLiteral("glossyControlsPage"));
    lblEvent_->setObjectName(QStringLiteral("lblEvent"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(8);
    int row = 0;

    grid->addWidget(sectionTitle(tr("Buttons")), row++, 0);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    const QList<std::pair<QString, QString>> captions = {
        {QStringLiteral("btnApply"), tr("Apply")},
        {QStringLiteral("btnCancel"), tr("Cancel")},
        {QStringLiteral("btnLong"), tr("Organise every watched folder now")},
        {QStringLiteral("btnDisabled"), tr("Disabled")}};
    for (const auto& [name, caption] : captions) {
        auto* b = new AquaButton;
        b->setObjectName(name);
        b->setCaption(caption);
        b->resize(b->sizeHint());
        b->setEnabled(name != QStringLiteral("btnDisabled"));
        connect(b, &AquaButton::Click, this,
                [this, caption = caption] { report(tr("Click on \"%1\"").arg(caption)); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    grid->addLayout(buttons, row++, 0);

    grid->addWidget(sectionTitle(tr("Picture buttons")), row++, 0);
    auto* pictures = new QHBoxLayout;
    pictures->setSpacing(22);
    const QList<std::pair<ImageButton*, QString>> images = {
        {new AquaHelpButton, QStringLiteral("AquaHelpButton")},
        {new AquaAddButton, QStringLiteral("AquaAddButton")},
        {new AquaFunctionButton, QStringLiteral("AquaFunctionButton")},
        {new AquaCloseBtn, QStringLiteral("AquaCloseBtn")},
        {new GreyClose, QStringLiteral("GreyClose")}};
    for (const auto& [button, name] : images) {
        button->setObjectName(name);
        connect(button, &ImageButton::Click, this,
                [this, name = name] { report(tr("Click on %1").arg(name)); });
        pictures->addWidget(labelled(button, name), 0, Qt::AlignTop);
    }
    pictures->addStretch();
    grid->addLayout(pictures, row++, 0);

    grid->addWidget(sectionTitle(tr("Tab strip")), row++, 0);
    auto* tabs = new AquaTab;
    tabs->setObjectName(QStringLiteral("AquaTab1"));
    connect(tabs, &AquaTab::TabClick, this, [this](int n) { report(tr("TabClick(%1)").arg(n)); });
    grid->addWidget(tabs, row++, 0, Qt::AlignLeft);

    grid->addWidget(sectionTitle(tr("Check boxes, lights and radios")), row++, 0);
    auto* marks = new QGridLayout;
    marks->setHorizontalSpacing(24);
    marks->setVerticalSpacing(6);
    auto* startWith = new AquaCheck;
    startWith->setObjectName(QStringLiteral("chkStartWithWin"));
    startWith->setCaption(tr("Run Vandrel when the computer starts"));
    startWith->setValue(1);
    auto* plainCheck = new AquaCheck;
    plainCheck->setObjectName(QStringLiteral("chkPlain"));
    auto* lightOn = new AquaCheckLight;
    lightOn->setObjectName(QStringLiteral("chkLightOn"));
    lightOn->setCaption(tr("Watch this folder"));
    lightOn->setValue(1);
    auto* lightOff = new AquaCheckLight;
    lightOff->setObjectName(QStringLiteral("chkLightOff"));
    lightOff->setCaption(tr("Ask for confirmation"));
    auto* optRename = new AquaRadio;
    optRename->setObjectName(QStringLiteral("optRename"));
    optRename->setCaption(tr("rename"));
    optRename->setValue(1);
    auto* optReplace = new AquaRadio;
    optReplace->setObjectName(QStringLiteral("optReplace"));
    optReplace->setCaption(tr("replace (rename the old one)"));
    const QList<MarkBox*> boxes = {startWith, lightOn, optRename, plainCheck, lightOff, optReplace};
    for (int i = 0; i < boxes.size(); ++i) {
        MarkBox* box = boxes.at(i);
        connect(box, &MarkBox::Click, this, [this, box] {
            report(tr("Click on \"%1\", Value %2").arg(box->Caption()).arg(box->Value()));
        });
        marks->addWidget(box, i % 3, i / 3);
    }
    // The radios are a pair: the host clears the sibling, as the control leaves that to it.
    connect(optRename, &AquaRadio::Click, optReplace, [optReplace] { optReplace->setValue(0); });
    connect(optReplace, &AquaRadio::Click, optRename, [optRename] { optRename->setValue(0); });
    marks->setColumnStretch(2, 1);
    grid->addLayout(marks, row++, 0);

    grid->addWidget(sectionTitle(tr("Search frame")), row++, 0);
    auto* search = new AquaSearchBox;
    search->setObjectName(QStringLiteral("oAquaSearchBox"));
    search->setText(tr("invoice 2008"));
    search->setMaximumWidth(320);
    grid->addWidget(search, row++, 0);

    grid->addWidget(lblEvent_, row++, 0);
    grid->setRowStretch(row, 1);

    // The scroll bar stands beside everything, as it does beside the rule list.
    auto* bar = new AquaVScrollBar;
    bar->setObjectName(QStringLiteral("oAquaVScrollBar"));
    bar->setAccessibleName(tr("Gallery scroll bar"));
    connect(bar, &AquaVScrollBar::Scroll, this,
            [this](qint32 v) { report(tr("Scroll(%1)").arg(v)); });
    grid->addWidget(sectionTitle(tr("Scroll bar")), 0, 1, Qt::AlignHCenter);
    grid->addWidget(bar, 1, 1, row - 1, 1, Qt::AlignHCenter);
    grid->setColumnStretch(0, 1);
}

void GlossyControlsPage::report(const QString& event) {
    lblEvent_->setText(tr("Last event: %1").arg(event));
}
