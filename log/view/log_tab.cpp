#include "log/view/log_tab.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QTableWidget>
#include <QUrl>

#include "app/undo_worker.h"
#include "aqua_button.h"
#include "aqua_search_box.h"
#include "log/log_reader.h"
#include "log/view/form_search.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {

constexpr int kGridTop = 480;
constexpr int kGridHeight = 4935;  // the header and 17 rows
constexpr int kDetailsTop = kGridTop + kGridHeight + 150;
constexpr int kLineTwips = 300;
constexpr int kCaptionWidth = 1650;

QRect TwipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QLabel* DetailLine(QWidget* parent, int line, const QString& caption, const char* name) {
    auto* fixed = new QLabel(caption, parent);
    const int top = kDetailsTop + line * kLineTwips;
    fixed->setGeometry(TwipsRect(0, top, kCaptionWidth, kLineTwips));
    auto* value = new QLabel(parent);
    value->setObjectName(QLatin1String(name));
    value->setGeometry(
        TwipsRect(kCaptionWidth, top, LogTab::kWidthTwips - kCaptionWidth, kLineTwips));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setStyleSheet(QStringLiteral("color: rgb(40, 60, 110);"));
    return value;
}

vitreon::AquaButton* Button(QWidget* parent, const QString& caption, const char* name) {
    auto* b = new vitreon::AquaButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setCaption(caption);
    b->resize(b->sizeHint());
    return b;
}

}  // namespace

LogTab::LogTab(LogReader& reader, QWidget* parent)
    : QWidget(parent),
      reader_(reader),
      oAquaSearchBox_(new vitreon::AquaSearchBox(this)),
      oLogGrid_(new QTableWidget(this)),
      btnLogLater_(Button(this, QStringLiteral("< Later"), "btnLogLater")),
      btnLogEarlier_(Button(this, QStringLiteral("Earlier >"), "btnLogEarlier")),
      lblPage_(new QLabel(this)) {
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    oAquaSearchBox_->setObjectName(QStringLiteral("oAquaSearchBox"));
    oAquaSearchBox_->textBox()->setObjectName(QStringLiteral("txtSearch"));
    oAquaSearchBox_->setGeometry(TwipsRect(0, 0, 3300, 360));
    oAquaSearchBox_->textBox()->installEventFilter(this);

    // Page controls at the right of the search box: "< Later" Page p/n "Earlier >".
    const int right = twipsToPixels(kWidthTwips);
    btnLogEarlier_->move(right - btnLogEarlier_->width(), 0);
    lblPage_->setObjectName(QStringLiteral("lblPage"));
    lblPage_->setAlignment(Qt::AlignCenter);
    lblPage_->setGeometry(btnLogEarlier_->x() - twipsToPixels(1500), 0, twipsToPixels(1500),
                          btnLogEarlier_->height());
    btnLogLater_->move(lblPage_->x() - btnLogLater_->width(), 0);
    btnLogEarlier_->hide();
    btnLogLater_->hide();
    lblPage_->hide();

    oLogGrid_->setObjectName(QStringLiteral("oLogGrid"));
    oLogGrid_->setGeometry(TwipsRect(0, kGridTop, kWidthTwips, kGridHeight));
    FormSearch::ResetGrid(oLogGrid_);
    oLogGrid_->setColumnHidden(0, true);  // the id: needed for the details, not for the eye
    oLogGrid_->verticalHeader()->hide();
    oLogGrid_->verticalHeader()->setDefaultSectionSize(twipsToPixels(270));
    oLogGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    oLogGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    oLogGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    oLogGrid_->setWordWrap(false);
    oLogGrid_->setTextElideMode(Qt::ElideMiddle);
    oLogGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = oLogGrid_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->resizeSection(1, twipsToPixels(1350));
    header->resizeSection(2, twipsToPixels(2300));
    header->resizeSection(3, twipsToPixels(1200));
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    connect(oLogGrid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { showDetails(row); });

    lblLogTime_ = DetailLine(this, 0, QStringLiteral("Time:"), "lblLogTime");
    lblLogRuleTitle_ = DetailLine(this, 1, QStringLiteral("RuleTitle:"), "lblLogRuleTitle");
    lblLogActionName_ = DetailLine(this, 2, QStringLiteral("ActionName:"), "lblLogActionName");
    lblLogOriPath_ = DetailLine(this, 3, QStringLiteral("Original Path:"), "lblLogOriPath");
    lblLogDstPath_ = DetailLine(this, 4, QStringLiteral("Destination Path:"), "lblLogDstPath");
    btnOpenFile_ = Button(this, QStringLiteral("Open"), "btnOpenFile");
    btnLocate_ = Button(this, QStringLiteral("Locate"), "btnLocate");
    const int buttonsTop = twipsToPixels(kDetailsTop + 5 * kLineTwips + 90);
    btnLocate_->move(right - btnLocate_->width(), buttonsTop);
    btnOpenFile_->move(btnLocate_->x() - btnOpenFile_->width() - twipsToPixels(120), buttonsTop);
    btnOpenFile_->setEnabled(false);
    btnLocate_->setEnabled(false);
    connect(btnOpenFile_, &vitreon::AquaButton::Click, this, &LogTab::openFile);
    connect(btnLocate_, &vitreon::AquaButton::Click, this, &LogTab::locate);

    btnUndoTake_ = Button(this, QStringLiteral("Undo this take"), "btnUndoTake");
    btnUndoRun_ = Button(this, QStringLiteral("Undo this run"), "btnUndoRun");
    btnUndoTake_->move(0, buttonsTop);
    btnUndoRun_->move(btnUndoTake_->width() + twipsToPixels(120), buttonsTop);
    lblUndo_ = new QLabel(this);
    lblUndo_->setObjectName(QStringLiteral("lblUndo"));
    lblUndo_->setGeometry(0, buttonsTop + btnUndoTake_->height() + twipsToPixels(45),
                          twipsToPixels(kWidthTwips), twipsToPixels(kLineTwips));
    connect(btnUndoTake_, &vitreon::AquaButton::Click, this, [this] { undoSelected(false); });
    connect(btnUndoRun_, &vitreon::AquaButton::Click, this, [this] { undoSelected(true); });
    setUndoWorker(nullptr);
    confirm_ = [this](const QString& title, const QString& text) {
        return QMessageBox::question(this, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    };
}

void LogTab::setUndoWorker(UndoWorker* undo) {
    if (undo_) disconnect(undo_, nullptr, this, nullptr);
    undo_ = undo;
    btnUndoTake_->setVisible(undo_ != nullptr);
    btnUndoRun_->setVisible(undo_ != nullptr);
    if (!undo_) return;
    connect(undo_, &UndoWorker::progress, this, [this](int done, int total) {
        lblUndo_->setText(QStringLiteral("Undoing: %1 of %2 actions checked").arg(done).arg(total));
    });
    connect(undo_, &UndoWorker::finished, this, &LogTab::undoDone);
}

qint64 LogTab::selectedId() const {
    const int row = oLogGrid_->currentRow();
    const QTableWidgetItem* idItem = row >= 0 ? oLogGrid_->item(row, 0) : nullptr;
    bool ok = false;
    const qint64 id = idItem ? idItem->text().toLongLong(&ok) : 0;
    return ok ? id : 0;
}

void LogTab::undoSelected(bool wholeRun) {
    const qint64 id = selectedId();
    if (!undo_ || id == 0) return;
    if (undo_->running()) {
        lblUndo_->setText(QStringLiteral("An undo is running; wait until it has finished."));
        return;
    }
    UndoWorker::Selection selection = wholeRun ? undo_->runOf(id) : undo_->takeOf(id);
    const QString what = wholeRun ? QStringLiteral("run") : QStringLiteral("take");
    if (selection.undoable == 0) {
        lblUndo_->setText(QStringLiteral("Nothing in this %1 can be undone.").arg(what));
        return;
    }
    const QString text = QStringLiteral(
                             "Undo this %1? %2 item(s) go back where they were (copies go to the "
                             "trash). Items changed since are left as they are.")
                             .arg(what)
                             .arg(selection.undoable);
    if (!confirm_(QStringLiteral("Undo this %1").arg(what), text)) return;
    if (!undo_->Start(std::move(selection))) return;
    btnUndoTake_->setEnabled(false);
    btnUndoRun_->setEnabled(false);
    lblUndo_->setText(QStringLiteral("Undoing..."));
}

void LogTab::undoDone(const UndoReport& report) {
    btnUndoTake_->setEnabled(true);
    btnUndoRun_->setEnabled(true);
    const int left = report.count(UndoStep::Outcome::kConflict);
    QString text =
        QStringLiteral("Undone: %1 put back").arg(report.count(UndoStep::Outcome::kDone));
    if (left > 0) {
        text += QStringLiteral(", %1 left alone").arg(left);
        QStringList why;
        for (const UndoStep& s : report.steps)
            if (s.outcome == UndoStep::Outcome::kConflict && why.size() < 10)
                why << s.path + QStringLiteral(": ") + s.reason;
        lblUndo_->setToolTip(why.join(QLatin1Char('\n')));
    } else {
        lblUndo_->setToolTip(QString());
    }
    if (!report.logError.isEmpty())
        text += QStringLiteral("; stopped, the log cannot record: ") + report.logError;
    lblUndo_->setText(text);
    // The undo's own takes are the newest rows now.
    if (formSearch_) {
        leaveTab();
        enterTab();
    }
    emit undoFinished();
}

LogTab::~LogTab() = default;

void LogTab::enterTab() {
    if (formSearch_) return;
    formSearch_ = std::make_unique<FormSearch>(reader_, oAquaSearchBox_->textBox(), oLogGrid_,
                                               btnLogEarlier_, btnLogLater_, lblPage_);
    connect(btnLogEarlier_, &vitreon::AquaButton::Click, formSearch_.get(),
            &FormSearch::earlierClick);
    connect(btnLogLater_, &vitreon::AquaButton::Click, formSearch_.get(), &FormSearch::laterClick);
    // The first look comes at once rather than half a second after the tab opened.
    formSearch_->observe();
}

void LogTab::leaveTab() { formSearch_.reset(); }

void LogTab::showDetails(int row) {
    const QTableWidgetItem* idItem = row >= 0 ? oLogGrid_->item(row, 0) : nullptr;
    bool ok = false;
    const qint64 id = idItem ? idItem->text().toLongLong(&ok) : 0;
    if (!ok) return;
    const QPointer<LogTab> self(this);
    detailsRequest_ = reader_.requestRecord(id, [self](quint64 request, LogRecordAnswer a) {
        if (!self || request != self->detailsRequest_ || !a.row) return;
        const LogRow& r = *a.row;
        self->lblLogTime_->setText(QLocale().toString(r.takeTime, QLocale::ShortFormat));
        self->lblLogRuleTitle_->setText(r.ruleTitle);
        self->lblLogActionName_->setText(r.actionName);
        self->lblLogOriPath_->setText(r.oriPath);
        self->lblLogDstPath_->setText(r.dstPath);
        self->btnOpenFile_->setEnabled(a.dstExists);
        self->btnLocate_->setEnabled(a.dstExists);
        emit self->detailsShown();
    });
}

bool LogTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == oAquaSearchBox_->textBox() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        if (oLogGrid_->rowCount() > 0) {
            oLogGrid_->setFocus();
            if (oLogGrid_->currentRow() == 0)
                showDetails(0);  // already current: no change signal would come
            else
                oLogGrid_->setCurrentCell(0, 1);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void LogTab::openFile() {
    const QString path = lblLogDstPath_->text();
    if (!path.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void LogTab::locate() {
    const QString path = lblLogDstPath_->text();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) QDesktopServices::openUrl(QUrl::fromLocalFile(path.left(slash + 1)));
}

}  // namespace vandrel
