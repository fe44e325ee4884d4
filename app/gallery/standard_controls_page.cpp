#include "standard_controls_page.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "standard/wex_button.h"
#include "standard/wex_check.h"
#include "standard/wex_combo.h"
#include "standard/wex_date.h"
#include "standard/wex_expand_btn.h"
#include "standard/wex_file.h"
#include "standard/wex_folder.h"
#include "standard/wex_insert.h"
#include "standard/wex_num_text.h"
#include "standard/wex_radio.h"
#include "standard/wex_standard_btn.h"
#include "standard/wex_text.h"
#include "standard/wex_twips.h"

using namespace wexcontrols;

namespace {

// The rule editor creates its controls 3900 twips wide and 300 high.
const QSize kEditorSize(TwipsToPixels(3900), TwipsToPixels(300));

template <typename Control>
Control* Make(const QString& name, QSize size = kEditorSize) {
    auto* control = new Control;
    control->setObjectName(name);
    control->setFixedSize(size);
    return control;
}

QWidget* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(TwipsToPixels(90));
    for (QWidget* w : widgets) layout->addWidget(w);
    layout->addStretch();
    return row;
}

}  // namespace

StandardControlsPage::StandardControlsPage(QWidget* parent)
    : QWidget(parent), grid_(new QGridLayout), lblEvent_(new QLabel) {
    setObjectName(QStringLiteral("StandardControlsPage"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xf7, 0xf8, 0xfa));
    setPalette(pal);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 16, 18, 14);
    grid_->setHorizontalSpacing(16);
    grid_->setVerticalSpacing(9);
    grid_->setColumnMinimumWidth(0, 110);
    outer->addLayout(grid_);
    outer->addStretch();
    lblEvent_->setObjectName(QStringLiteral("lblEvent"));
    lblEvent_->setStyleSheet(QStringLiteral("color: #5a6472;"));
    outer->addWidget(lblEvent_);

    auto* cmbOperator = Make<WexCombo>(QStringLiteral("cmbOperator"));
    for (const char* op :
         {"is", "is not", "contains", "does not contain", "begins with", "ends with"}) {
        cmbOperator->AddItem(QString::fromLatin1(op));
    }
    cmbOperator->setText(QStringLiteral("contains"));
    cmbOperator->setAccessibleName(QStringLiteral("Operator"));
    connect(cmbOperator, &WexCombo::Click, this, [this, cmbOperator] {
        report(QStringLiteral("WexCombo Click: ") + cmbOperator->Text());
    });
    addRow(QStringLiteral("WexCombo"), cmbOperator);

    auto* txtName = Make<WexText>(QStringLiteral("txtName"));
    txtName->setText(QStringLiteral("invoice 2026"));
    txtName->textBox()->setAccessibleName(QStringLiteral("Name text"));
    addRow(QStringLiteral("WexText"), txtName);

    auto* buttons = new QWidget;
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->setSpacing(TwipsToPixels(60));
    for (const char* style : {"add", "del", "up", "down", "close"}) {
        auto* button = Make<WexButton>(QStringLiteral("btn_") + QLatin1String(style),
                                       QSize(TwipsToPixels(300), TwipsToPixels(300)));
        button->setButtonStyle(QLatin1String(style));
        connect(button, &WexButton::Click, this, [this, style] {
            report(QStringLiteral("WexButton Click: ") + QLatin1String(style));
        });
        buttonLayout->addWidget(button);
    }
    auto* disabled = Make<WexButton>(QStringLiteral("btn_disabled"),
                                     QSize(TwipsToPixels(300), TwipsToPixels(300)));
    disabled->setButtonStyle(QStringLiteral("close"));
    disabled->setEnable(false);
    buttonLayout->addSpacing(TwipsToPixels(180));
    buttonLayout->addWidget(disabled);
    buttonLayout->addWidget(new QLabel(QStringLiteral("disabled")));
    buttonLayout->addStretch();
    addRow(QStringLiteral("WexButton"), buttons);

    auto* datDate = Make<WexDate>(QStringLiteral("datModified"));
    datDate->setValue(QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
    datDate->setAccessibleName(QStringLiteral("Date"));
    connect(datDate, &WexDate::DateChanged, this, [this, datDate] {
        report(QStringLiteral("WexDate DateChanged: ") +
               WexDate::FormatDateString(datDate->Value()));
    });
    addRow(QStringLiteral("WexDate"), datDate);

    auto* expAdv =
        Make<WexExpandBtn>(QStringLiteral("expAdv"), QSize(TwipsToPixels(900), TwipsToPixels(300)));
    auto* expOpen = Make<WexExpandBtn>(QStringLiteral("expOpen"),
                                       QSize(TwipsToPixels(1500), TwipsToPixels(300)));
    expOpen->setText(QStringLiteral("Options"));
    expOpen->setExpanded(true);
    for (WexExpandBtn* e : {expAdv, expOpen}) {
        connect(e, &WexExpandBtn::Click, this, [this, e] {
            report(QStringLiteral("WexExpandBtn Click: ") +
                   (e->Expanded() ? QStringLiteral("expanded") : QStringLiteral("collapsed")));
        });
    }
    addRow(QStringLiteral("WexExpandBtn"), Row({expAdv, expOpen}));

    auto* insAttr =
        Make<WexInsert>(QStringLiteral("insAttr"), QSize(TwipsToPixels(1500), TwipsToPixels(300)));
    for (const char* attr : {"file.name", "file.extension", "file.date_modified", "mp3.title",
                             "mp3.artist", "photo.camera_maker"}) {
        insAttr->AddItem(QString::fromLatin1(attr));
    }
    connect(insAttr, &WexInsert::InsertText, this, [this](const QString& text) {
        report(QStringLiteral("WexInsert InsertText: ") + text);
    });
    addRow(QStringLiteral("WexInsert"), insAttr);

    auto* cmdOk = Make<WexStandardBtn>(QStringLiteral("cmdOk"),
                                       QSize(TwipsToPixels(1200), TwipsToPixels(360)));
    cmdOk->setText(QStringLiteral("OK"));
    auto* cmdCancel = Make<WexStandardBtn>(QStringLiteral("cmdCancel"),
                                           QSize(TwipsToPixels(1200), TwipsToPixels(360)));
    cmdCancel->setText(QStringLiteral("Cancel"));
    for (WexStandardBtn* b : {cmdOk, cmdCancel}) {
        connect(b, &WexStandardBtn::Click, this,
                [this, b] { report(QStringLiteral("WexStandardBtn Click: ") + b->Text()); });
    }
    addRow(QStringLiteral("WexStandardBtn"), Row({cmdOk, cmdCancel}));

    const QSize markSize(TwipsToPixels(3600), TwipsToPixels(300));
    auto* optRename = Make<WexRadio>(QStringLiteral("optRename"), markSize);
    optRename->setCaption(QStringLiteral("rename"));
    optRename->setValue(1);
    auto* optReplace = Make<WexRadio>(QStringLiteral("optReplace"), markSize);
    optReplace->setCaption(QStringLiteral("replace (rename the old one)"));
    // The radio does not clear its siblings; the host does.
    connect(optRename, &WexRadio::Click, this, [this, optReplace] {
        optReplace->setValue(0);
        report(QStringLiteral("WexRadio Click: rename"));
    });
    connect(optReplace, &WexRadio::Click, this, [this, optRename] {
        optRename->setValue(0);
        report(QStringLiteral("WexRadio Click: replace"));
    });
    addRow(QStringLiteral("WexRadio"), Row({optRename, optReplace}));

    auto* chkSubfolder = Make<WexCheck>(QStringLiteral("chkSubfolder"), markSize);
    chkSubfolder->setCaption(QStringLiteral("Sort into subfolder"));
    chkSubfolder->setValue(1);
    auto* chkConfirm = Make<WexCheck>(QStringLiteral("chkConfirm"), markSize);
    chkConfirm->setCaption(QStringLiteral("Ask for confirmation"));
    for (WexCheck* c : {chkSubfolder, chkConfirm}) {
        connect(c, &WexCheck::Click, this, [this, c] {
            report(QStringLiteral("WexCheck Click: %1 = %2").arg(c->Caption()).arg(c->Value()));
        });
    }
    addRow(QStringLiteral("WexCheck"), Row({chkSubfolder, chkConfirm}));

    auto* fldTarget = Make<WexFolder>(QStringLiteral("fldTarget"));
    auto* fldChosen = Make<WexFolder>(QStringLiteral("fldChosen"));
    fldChosen->setText(QStringLiteral("/home/ada/Documents/Invoices"));
    for (WexFolder* f : {fldTarget, fldChosen}) {
        connect(f, &WexFolder::Click, this,
                [this, f] { report(QStringLiteral("WexFolder Click: ") + f->Text()); });
    }
    addRow(QStringLiteral("WexFolder"), Row({fldTarget, fldChosen}));

    auto* filOpen = Make<WexFile>(QStringLiteral("filProgram"));
    auto* filSave = Make<WexFile>(QStringLiteral("filList"));
    filSave->setDialogMode(QStringLiteral("save"));
    filSave->setText(QStringLiteral("/home/ada/lists/photos.txt"));
    for (WexFile* f : {filOpen, filSave}) {
        connect(f, &WexFile::Click, this,
                [this, f] { report(QStringLiteral("WexFile Click: ") + f->Text()); });
    }
    addRow(QStringLiteral("WexFile"), Row({filOpen, filSave}));

    auto* numDays =
        Make<WexNumText>(QStringLiteral("numDays"), QSize(TwipsToPixels(900), TwipsToPixels(300)));
    numDays->setText(QStringLiteral("15"));
    numDays->textBox()->setAccessibleName(QStringLiteral("Days"));
    auto* lblRange = new QLabel(QStringLiteral("days (1 to 100; Up and Down step)"));
    connect(numDays, &WexNumText::ValueChange, this, [this, numDays] {
        report(QStringLiteral("WexNumText ValueChange: ") + numDays->Text());
    });
    addRow(QStringLiteral("WexNumText"), Row({numDays, lblRange}));

    report(QStringLiteral("Click a control, or use Tab, Space, Enter and the arrow keys."));
}

void StandardControlsPage::addRow(const QString& name, QWidget* controls) {
    const int row = grid_->rowCount();
    auto* label = new QLabel(name);
    label->setStyleSheet(QStringLiteral("color: #5a6472;"));
    grid_->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid_->addWidget(controls, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
}

void StandardControlsPage::report(const QString& text) { lblEvent_->setText(text); }
