#include "basket/view/form_basket.h"

#include <QBitmap>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "app/app_var_mgr.h"
#include "app/view/window_drag.h"
#include "basket/quick_folder_list.h"
#include "basket/view/basket_picture.h"
#include "basket/view/quick_folder_paper.h"
#include "rules/rule_list.h"
#include "rules/rule_text.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {

constexpr int kRowGapTwips = 50;
// A step that was not done stays readable longer than the one-second result.
constexpr int kHoldMs = 5000;

QString Line(const QString& a, const QString& b) { return a + QLatin1Char('\n') + b; }

QString NotDoneText(const RunOutcome& o) {
    return QStringLiteral("\"%1\" not done: %2").arg(o.action, o.notDone);
}

}  // namespace

FormBasket::FormBasket(AppVarMgr& vars, QuickFolderList& quickFolders, Engine engine,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      vars_(vars),
      quickFolders_(quickFolders),
      engine_(std::move(engine)) {
    setObjectName(QStringLiteral("FormBasket"));
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setAcceptDrops(true);
    const int side = twipsToPixels(kPictureTwips);

    status_ = QString::fromLatin1(kIdleText);
    label1_ = new QLabel(status_, this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label1_->setWordWrap(true);
    label1_->setTextFormat(Qt::PlainText);
    QFont small = label1_->font();
    small.setPointSizeF(7);
    small.setBold(true);
    label1_->setFont(small);
    label1_->setStyleSheet(QStringLiteral("color: white;"));
    label1_->setGeometry(BasketPicture::statusRect(side));
    // Presses, drags and drops on the label are the picture's.
    label1_->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblQFolder_ = new QLabel(this);
    lblQFolder_->setObjectName(QStringLiteral("lblQFolder"));
    lblQFolder_->setToolTip(QStringLiteral("Quick Folders"));
    lblQFolder_->setCursor(Qt::PointingHandCursor);
    lblQFolder_->setGeometry(BasketPicture::quickFolderRect(side));
    lblQFolder_->installEventFilter(this);
    lblSetting_ = new QLabel(this);
    lblSetting_->setObjectName(QStringLiteral("lblSetting"));
    lblSetting_->setToolTip(QStringLiteral("Edit Rules Settings"));
    lblSetting_->setCursor(Qt::PointingHandCursor);
    lblSetting_->setGeometry(BasketPicture::settingRect(side));
    lblSetting_->installEventFilter(this);

    oQuickFolderPaper_ = new QuickFolderPaper(quickFolders_, this);
    oQuickFolderPaper_->setObjectName(QStringLiteral("oQuickFolderPaper"));
    oQuickFolderPaper_->hide();
    connect(oQuickFolderPaper_, &QuickFolderPaper::Resize, this, [this] { fitHeight(); });
    connect(oQuickFolderPaper_, &QuickFolderPaper::DragOverQuickFolder, this,
            [this](const QString& folder) {
                hold_.stop();
                showStatus(folder.isEmpty()
                               ? QStringLiteral("Browse a folder for quick moving.")
                               : Line(QStringLiteral("Move to"),
                                      QLatin1Char('[') + FileNamePart(folder) + QLatin1Char(']')));
            });

    // Items a quick folder could not take say why.
    connect(oQuickFolderPaper_, &QuickFolderPaper::quickMoveFinished, this, [this] {
        QStringList problems;
        for (const QuickMoveResult& r : oQuickFolderPaper_->lastResults())
            if (!r.moved()) problems << FileNamePart(r.source) + QStringLiteral(": ") + r.problem;
        if (!problems.isEmpty())
            showStatus(Line(QStringLiteral("%1 not moved").arg(problems.size()), problems.first()),
                       true);
    });
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &FormBasket::resetStatus);
    hold_.setSingleShot(true);
    hold_.setInterval(kHoldMs);
    connect(&hold_, &QTimer::timeout, this, [this] {
        label1_->setToolTip(QString());
        if (!timer1_.isActive() && !runActive_) setLabel(QString::fromLatin1(kIdleText));
    });
    new WindowDrag(this, this);
    fitHeight();
}

FormBasket::~FormBasket() = default;

QString FormBasket::statusText() const { return status_; }

QString FormBasket::LoadQuickFolders(const QString& file) {
    const StateReadResult read = quickFolders_.LoadFromFile(file);
    oQuickFolderPaper_->refresh();
    if (read.status != StateReadStatus::Unreadable) return {};
    return QStringLiteral(
               "%1 could not be read (%2). It was kept as %3 and the quick folders "
               "start empty.")
        .arg(file, read.problem, read.keptAsidePath);
}

QString FormBasket::SaveQuickFolders(const QString& file) {
    const StateUpdateResult r = quickFolders_.SaveToFile(file);
    if (r.ok()) return {};
    return r.error.isEmpty() ? QStringLiteral("%1 cannot be written.").arg(file) : r.error;
}

void FormBasket::setQuickPanelOpen(bool open) {
    quickPanelOpen_ = open;
    oQuickFolderPaper_->setVisible(open);
    fitHeight();
}

void FormBasket::fitHeight() {
    const int side = twipsToPixels(kPictureTwips);
    const int rowTop = side + twipsToPixels(kRowGapTwips) / 2;
    oQuickFolderPaper_->move((side - oQuickFolderPaper_->width()) / 2, rowTop);
    const int h =
        quickPanelOpen_ ? side + oQuickFolderPaper_->height() + twipsToPixels(kRowGapTwips) : side;
    setFixedSize(side, h);
    // Only the rounded tile (and the row's backing) is the window: no square corners
    // show on a desktop without a compositor.
    QBitmap shape(size());
    shape.fill(Qt::color0);
    QPainter p(&shape);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::color1);
    p.drawRoundedRect(QRect(0, 0, side, side), 12, 12);
    if (quickPanelOpen_) p.drawRoundedRect(QRect(0, side - 8, side, h - side + 8), 6, 6);
    p.end();
    setMask(shape);
    update();
}

QString FormBasket::refusal(bool drop) const {
    if (vars_.autoTaskRunning()) return QString::fromLatin1(kAutoTaskText);
    if (vars_.settingWinShow())
        return Line(drop ? QStringLiteral("Settings Window is Open.")
                         : QStringLiteral("Settings Window is Open"),
                    QStringLiteral("Please close it."));
    return {};
}

QStringList FormBasket::localPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        QString path = url.toLocalFile();
        // Some file managers hand a folder over as ".../name/": the item is the folder,
        // whose name must not read as empty.
        while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
        if (!path.isEmpty()) paths << path;
    }
    return paths;
}

namespace {
// A file manager that is told "moved" may delete what it thinks it handed over, also
// when a rule only copied it: the basket always takes a copy.
void AcceptAsCopy(QDropEvent* event) {
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}
}  // namespace

void FormBasket::setLabel(const QString& text) {
    if (status_ == text) return;
    status_ = text;
    // The label is small: a word too wide for it (a long file name) is shortened in the
    // middle rather than cut off; the whole text is in the tooltip then.
    const QFontMetrics metrics(label1_->font());
    const int room = label1_->width();
    QStringList lines = text.split(QLatin1Char('\n'));
    bool shortened = false;
    for (QString& line : lines) {
        if (line.contains(QLatin1Char(' ')) || metrics.horizontalAdvance(line) <= room) continue;
        line = metrics.elidedText(line, Qt::ElideMiddle, room);
        shortened = true;
    }
    label1_->setText(lines.join(QLatin1Char('\n')));
    label1_->setToolTip(shortened ? text : QString());
    emit statusShown(text);
}

void FormBasket::showStatus(const QString& text, bool hold) {
    setLabel(text);
    if (hold) label1_->setToolTip(text);
    timer1_.start();
    if (hold) hold_.start();
}

void FormBasket::showNotice(const QString& text) {
    if (!runActive_) showStatus(text);
}

void FormBasket::resetStatus() {
    timer1_.stop();
    pictureEnabled_ = true;
    if (!hold_.isActive() && !runActive_) setLabel(QString::fromLatin1(kIdleText));
}

void FormBasket::dragEnterEvent(QDragEnterEvent* event) {
    if (localPaths(event->mimeData()).isEmpty()) return event->ignore();
    if (engine_.expectDrop) engine_.expectDrop();
    previewPaths_.clear();
    dragOver(event, true);
    // Entering is always taken, so the moves keep coming once a refusal has passed; the
    // drop looks again.
    AcceptAsCopy(event);
}

void FormBasket::dragMoveEvent(QDragMoveEvent* event) { dragOver(event, false); }

void FormBasket::dragOver(QDropEvent* event, bool entered) {
    const QPoint at = event->position().toPoint();
    if (!quickPanelOpen_ && lblQFolder_->geometry().contains(at)) setQuickPanelOpen(true);
    if (!pictureEnabled_ || runActive_ || at.y() >= twipsToPixels(kPictureTwips))
        return event->ignore();
    // Unlike a refused drop, a refused drag-over leaves the picture taking events, so the
    // drop that follows still shows its own refusal.
    if (const QString refused = refusal(false); !refused.isEmpty()) {
        showStatus(refused);
        return event->ignore();
    }
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty()) return event->ignore();
    if (entered || paths != previewPaths_) {
        // The dragged items do not change while they are dragged: one rule test each time
        // they come over the basket, not one per pointer move.
        previewPaths_ = paths;
        if (paths.size() >= 2) {
            previewText_ = QStringLiteral("%1 items").arg(paths.size());
        } else {
            previewText_ = engine_.test ? engine_.test(paths.first()) : QString();
            if (previewText_ == QLatin1String(kNoMatchedRule))
                previewText_ = Line(previewText_, QStringLiteral("Drop to create a new rule."));
        }
    }
    hold_.stop();
    showStatus(previewText_);
    AcceptAsCopy(event);
}

void FormBasket::dropEvent(QDropEvent* event) {
    if (!pictureEnabled_ || runActive_) return event->ignore();
    if (const QString refused = refusal(true); !refused.isEmpty()) {
        showStatus(refused);
        pictureEnabled_ = false;
        return event->ignore();
    }
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty()) return event->ignore();
    AcceptAsCopy(event);
    listFiles_ = paths;
    notDone_ = 0;
    firstNotDone_.clear();
    lastResult_.clear();
    timer1_.stop();
    hold_.stop();
    vars_.setDropTaskRunning(true);
    runActive_ = true;
    emit dropStarted(static_cast<int>(paths.size()));
    if (!engine_.run || !engine_.run(paths)) {
        runActive_ = false;
        vars_.setDropTaskRunning(false);
        showStatus(QStringLiteral("Busy; please drop again in a moment."));
        pictureEnabled_ = false;
        emit dropFinished(0);
    }
}

void FormBasket::itemFinished(int index, const QString& path, const RunOutcome& outcome) {
    if (!runActive_) return;
    const auto n = listFiles_.size();
    if (outcome.stopped() && notDone_++ == 0)
        firstNotDone_ = FileNamePart(path) + QStringLiteral(": ") + NotDoneText(outcome);
    lastResult_ = outcome.result;
    if (n == 1) {
        setLabel(outcome.stopped() ? Line(outcome.result, NotDoneText(outcome)) : outcome.result);
        return;
    }
    // Up to a hundred items every one is shown; beyond, a few times a second (the first
    // and the last always).
    constexpr qint64 kProgressEveryMs = 40;
    if (n > 100 && index > 0 && index + 1 < n && progressShown_.isValid() &&
        progressShown_.elapsed() < kProgressEveryMs)
        return;
    progressShown_.start();
    setLabel(Line(Line(outcome.result, FileNamePart(path)),
                  QStringLiteral("(%1/%2)").arg(index + 1).arg(n)));
}

void FormBasket::runFinished(const QString& why) {
    if (!runActive_) return;
    runActive_ = false;
    const auto n = listFiles_.size();
    vars_.setDropTaskRunning(false);
    if (!why.isEmpty())
        showStatus(why, true);
    else if (n >= 2 && notDone_ > 0)
        showStatus(
            Line(QStringLiteral("%1 of %2 items not done").arg(notDone_).arg(n), firstNotDone_),
            true);
    else
        showStatus(status_, notDone_ > 0);
    pictureEnabled_ = false;
    emit dropFinished(static_cast<int>(n));
    if (n == 1 && why.isEmpty() && lastResult_ == QLatin1String(kNoMatchedRule))
        emit wizardRequested(listFiles_.first());
}

void FormBasket::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = twipsToPixels(kPictureTwips);
    if (quickPanelOpen_) {
        // The row's backing under the picture.
        QRectF under(1, side - 8, width() - 2, height() - side + 7);
        p.setPen(QColor(60, 90, 150));
        p.setBrush(QColor(236, 242, 251));
        p.drawRoundedRect(under, 6, 6);
    }
    BasketPicture::paint(p, side, pictureEnabled_ && !runActive_);
}

void FormBasket::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) return;  // WindowDrag moves the window
    if (trayMenu_) trayMenu_->popup(event->globalPosition().toPoint());
}

void FormBasket::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit settingsRequested();
}

bool FormBasket::eventFilter(QObject* watched, QEvent* event) {
    // On the press: the release would go to the basket, which takes presses the labels
    // leave (for dragging the window).
    if (event->type() != QEvent::MouseButtonPress) return QWidget::eventFilter(watched, event);
    auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() != Qt::LeftButton) return false;
    if (watched == lblQFolder_) {
        setQuickPanelOpen(!quickPanelOpen_);
        return true;
    }
    if (watched == lblSetting_) {
        emit settingsRequested();
        return true;
    }
    return false;
}

}  // namespace vandrel
