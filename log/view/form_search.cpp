#include "log/view/form_search.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>

#include "attributes/attribute_helper.h"
#include "log/log_reader.h"
#include "platform/path_text.h"
#include "rules/rule_text.h"

namespace vandrel {

FormSearch::FormSearch(LogReader& reader, QLineEdit* watchSearcheText, QTableWidget* fillResultGird,
                       QWidget* btnEarlier, QWidget* btnLater, QLabel* lblPage, QObject* parent)
    : QObject(parent),
      reader_(reader),
      text_(watchSearcheText),
      grid_(fillResultGird),
      earlier_(btnEarlier),
      later_(btnLater),
      lblPage_(lblPage) {
    timerObserver_.setInterval(kObserveMs);
    connect(&timerObserver_, &QTimer::timeout, this, &FormSearch::observe);
    timerObserver_.start();
}

void FormSearch::ResetGrid(QTableWidget* grid) {
    grid->clearContents();
    grid->setRowCount(0);
    if (grid->columnCount() != 5) {
        grid->setColumnCount(5);
        grid->setHorizontalHeaderLabels({QString(), QStringLiteral("Time"),
                                         QStringLiteral("Original"), QStringLiteral("Action"),
                                         QStringLiteral("Destination")});
    }
}

void FormSearch::observe() {
    const QString text = text_->text();
    if (text == lastText_) return;
    lastText_ = text;
    page_ = 1;
    pages_ = 0;
    ResetGrid(grid_);
    earlier_->hide();
    later_->hide();
    lblPage_->hide();
    requestPage();
    const QPointer<FormSearch> self(this);
    countRequest_ = reader_.requestCount(text, [self](quint64 request, qint64 count) {
        if (!self || request != self->countRequest_) return;  // a newer search asked since
        self->pages_ = (count + kPageSize - 1) / kPageSize;
        if (self->pages_ > 1) {
            self->showPageLabel();
            self->earlier_->setVisible(self->page_ < self->pages_);
            self->later_->setVisible(self->page_ > 1);
        }
        emit self->countShown(self->pages_);
    });
}

void FormSearch::earlierClick() {
    if (pages_ < 1) return;  // no count yet: there is nowhere to go
    ++page_;
    if (page_ >= pages_) {
        page_ = pages_;
        earlier_->hide();
    }
    later_->show();
    showPageLabel();
    requestPage();
}

void FormSearch::laterClick() {
    --page_;
    if (page_ < 2) {
        page_ = 1;
        later_->hide();
    }
    earlier_->setVisible(page_ < pages_);
    showPageLabel();
    requestPage();
}

void FormSearch::showPageLabel() {
    lblPage_->setText(QStringLiteral("Page %1/%2").arg(page_).arg(pages_));
    lblPage_->show();
}

void FormSearch::requestPage() {
    // Page turns do not wait for the grid: the newest page asked for is the one shown,
    // and the answer for a page passed over on the way is dropped.
    const QPointer<FormSearch> self(this);
    pageRequest_ = reader_.requestPage(lastText_, kPageSize, page_,
                                       [self](quint64 request, std::vector<LogRow> rows) {
                                           if (!self || request != self->pageRequest_) return;
                                           self->fill(rows);
                                           emit self->pageShown(self->page_);
                                       });
}

void FormSearch::fill(const std::vector<LogRow>& rows) {
    ResetGrid(grid_);
    const int n = std::min<int>(static_cast<int>(rows.size()), kPageSize);
    grid_->setRowCount(n);
    int colour = 0;
    QString lastTake;
    for (int r = 0; r < n; ++r) {
        const LogRow& row = rows[static_cast<size_t>(r)];
        if (row.takeUid != lastTake) {
            lastTake = row.takeUid;
            colour = 1 - colour;
        }
        const QColor back = colour == 1 ? QColor::fromRgb(kTakeBlue) : QColor(Qt::white);
        const QString cells[5] = {QString::number(row.id), FormatDateText(row.takeTime),
                                  FileNamePart(row.oriPath), row.actionName,
                                  FileNamePart(row.dstPath)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setBackground(back);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (c == 1 || c == 3) item->setTextAlignment(Qt::AlignCenter);
            // The whole path shows when the name is cut short.
            if (c == 2) item->setToolTip(row.oriPath);
            if (c == 4) item->setToolTip(row.dstPath);
            grid_->setItem(r, c, item);
        }
    }
}

}  // namespace vandrel
