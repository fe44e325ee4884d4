#include "basket/view/quick_folder.h"

#include <QDragEnterEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QStyle>

#include "basket/quick_folder_list.h"
#include "grey_close.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {
constexpr int kIconLeft = 45;
constexpr int kIconSize = 210;
constexpr int kNameLeft = 285;
}  // namespace

QuickFolder::QuickFolder(QWidget* parent)
    : QWidget(parent), lblName_(new QLabel(this)), cmdDelete_(new vitreon::GreyClose(this)) {
    setAcceptDrops(true);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);
    lblName_->setObjectName(QStringLiteral("lblName"));
    // Presses and drops on the name belong to the quick folder.
    lblName_->setAttribute(Qt::WA_TransparentForMouseEvents);
    cmdDelete_->setObjectName(QStringLiteral("cmdDelete"));
    const QSize del = cmdDelete_->sizeHint();
    cmdDelete_->move(width() - del.width() - twipsToPixels(30), (height() - del.height()) / 2);
    connect(cmdDelete_, &vitreon::GreyClose::Click, this, &QuickFolder::FolderDelete);
    LoadFromString(QString());
}

void QuickFolder::LoadFromString(const QString& path) {
    folderPath_ = path;
    const bool set = !path.isEmpty();
    lblName_->setText(QuickFolderList::LabelText(path));
    setToolTip(QuickFolderList::TooltipText(path));
    lblName_->setAlignment(set ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    const int left = twipsToPixels(set ? kNameLeft : 60);
    const int right = set ? cmdDelete_->x() : width() - twipsToPixels(60);
    lblName_->setGeometry(left, 0, right - left, height());
    cmdDelete_->setVisible(set);
    setHighlight(false);
}

QString QuickFolder::labelText() const { return lblName_->text(); }

void QuickFolder::setHighlight(bool blue) {
    colour_ = blue ? kBlue : kGrey;
    lblName_->setStyleSheet(QStringLiteral("color: %1;").arg(colour_.name()));
    update();
}

void QuickFolder::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour_, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    if (!folderPath_.isEmpty()) {
        const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
        const int s = twipsToPixels(kIconSize);
        icon.paint(&p, QRect(twipsToPixels(kIconLeft), (height() - s) / 2, s, s));
    }
}

void QuickFolder::mousePressEvent(QMouseEvent*) { emit activated(); }

void QuickFolder::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    event->acceptProposedAction();
    setHighlight(true);
    emit DragFileOver();
}

void QuickFolder::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void QuickFolder::dragLeaveEvent(QDragLeaveEvent*) { setHighlight(false); }

void QuickFolder::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    setHighlight(false);
    emit filesDropped(urls);
}

}  // namespace vandrel
