// The controller of the log tab's search: it watches the search box twice a second and,
// when the text changed, shows page 1 of the matching log rows (17 a page, newest first),
// asks for the count behind "Page 1/N", and turns pages on "Earlier >" and "< Later".
// Queries go to a LogReader, off the UI thread; an answer to anything but the newest
// request is dropped, so typing never waits for an old search. One exists only while the
// log tab is the current tab; each starts at page 1. UI thread only.
#pragma once

#include <QObject>
#include <QRgb>
#include <QString>
#include <QTimer>
#include <vector>

#include "log/log_manager.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace vandrel {

class LogReader;

class FormSearch : public QObject {
    Q_OBJECT

  public:
    static constexpr int kPageSize = 17;
    static constexpr int kObserveMs = 500;
    // Background of the rows of every other take (the first take gets it).
    static constexpr QRgb kTakeBlue = 0xFFEDF3FE;

    // reader must outlive the controller; the controls are the log tab's and must too.
    FormSearch(LogReader& reader, QLineEdit* watchSearcheText, QTableWidget* fillResultGird,
               QWidget* btnEarlier, QWidget* btnLater, QLabel* lblPage, QObject* parent = nullptr);

    void earlierClick();
    void laterClick();
    // One look at the search box (what TimerObserver does every 500 ms).
    void observe();

    qint64 currentPage() const { return page_; }
    qint64 pageCount() const { return pages_; }
    // The grid's header format and the reset every search starts with.
    static void ResetGrid(QTableWidget* grid);

  signals:
    // The grid shows the rows of the page asked for last.
    void pageShown(qint64 page);
    // The page count of the current search arrived.
    void countShown(qint64 pages);

  private:
    void showPageLabel();
    void requestPage();
    void fill(const std::vector<LogRow>& rows);

    LogReader& reader_;
    QLineEdit* text_;
    QTableWidget* grid_;
    QWidget* earlier_;
    QWidget* later_;
    QLabel* lblPage_;
    QTimer timerObserver_;
    // The first look always counts as a change.
    QString lastText_ = QStringLiteral("nosearchwords");
    // 64-bit: a large log has more pages than a 16-bit counter holds.
    qint64 page_ = 1;
    qint64 pages_ = 0;
    quint64 pageRequest_ = 0;
    quint64 countRequest_ = 0;
};

}  // namespace vandrel
