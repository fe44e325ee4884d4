#include "basket/view/quick_folder_paper.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>

#include "basket/view/quick_folder.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {
constexpr int kMargin = 20;
constexpr int kPitch = QuickFolder::kHeightTwips + 20;
const char kChooseTitle[] = "Select a folder for quick moving.";
}  // namespace

QuickFolderPaper::QuickFolderPaper(QuickFolderList& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      chooser_([](QWidget* owner, const QString& title) {
          return QFileDialog::getExistingDirectory(owner, title);
      }),
      opener_(
          [](const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); }) {
    refresh();
}

QuickFolderPaper::~QuickFolderPaper() {
    if (mover_) mover_->wait();
}

void QuickFolderPaper::LoadFromString(const QString& text) {
    model_.LoadFromString(text);
    refresh();
}

void QuickFolderPaper::refresh() {
    for (QuickFolder* f : folders_) f->deleteLater();
    folders_.clear();
    for (int i = 0; i < model_.slotCount(); ++i) {
        auto* f = new QuickFolder(this);
        f->setObjectName(QStringLiteral("QuickFolder%1").arg(i + 1));
        f->LoadFromString(model_.folderPath(i));
        f->move(twipsToPixels(kMargin), twipsToPixels(kMargin + i * kPitch));
        f->show();
        connect(f, &QuickFolder::activated, this, [this, i] { onActivated(i); });
        connect(f, &QuickFolder::DragFileOver, this, [this, i] { onDragOver(i); });
        connect(f, &QuickFolder::filesDropped, this,
                [this, i](const QList<QUrl>& urls) { onDrop(i, urls); });
        connect(f, &QuickFolder::FolderDelete, this, [this, i] {
            // Rebuilding deletes the sender: do it once its signal has returned.
            if (model_.RemoveFolder(i))
                QMetaObject::invokeMethod(this, &QuickFolderPaper::refresh, Qt::QueuedConnection);
        });
        folders_.push_back(f);
    }
    const int w = QuickFolder::kWidthTwips + 2 * kMargin;
    const int h = model_.slotCount() * kPitch + kMargin;
    setFixedSize(twipsToPixels(w), twipsToPixels(h));
    emit Resize(w, h);
}

QString QuickFolderPaper::chooseFor(int slot) {
    const QString chosen = chooser_(this, QString::fromLatin1(kChooseTitle));
    if (chosen.isEmpty()) return {};
    const QString path = QDir::cleanPath(chosen);
    // A folder already in the row sends the slot back to "Browse..." (no duplicates) but
    // still takes the dropped items; a path qfolders.txt cannot hold takes nothing.
    if (model_.AssignFolder(slot, path) == QuickFolderList::Assigned::Refused) return {};
    return path;
}

void QuickFolderPaper::onActivated(int slot) {
    if (busy()) return;
    const QString path = model_.folderPath(slot);
    if (!path.isEmpty()) {
        opener_(path);
        return;
    }
    if (!chooseFor(slot).isEmpty()) refresh();
}

void QuickFolderPaper::onDragOver(int slot) {
    const QString hovered = model_.folderPath(slot);
    for (int i = 0; i < static_cast<int>(folders_.size()); ++i) {
        if (i != slot && model_.folderPath(i) != hovered)
            folders_[static_cast<size_t>(i)]->GrayTheColor();
    }
    emit DragOverQuickFolder(hovered);
}

void QuickFolderPaper::onDrop(int slot, const QList<QUrl>& urls) {
    if (busy()) return;
    QStringList items;
    for (const QUrl& u : urls) {
        if (u.isLocalFile()) items << u.toLocalFile();
    }
    QString folder = model_.folderPath(slot);
    // The empty slot asks for its folder first, then takes the items.
    if (folder.isEmpty()) folder = chooseFor(slot);
    refresh();
    if (folder.isEmpty() || items.isEmpty()) return;
    emit quickMoveStarting();
    auto results = std::make_shared<std::vector<QuickMoveResult>>();
    LogManager* log = log_;
    mover_.reset(QThread::create([results, folder, items, log] {
        *results = QuickFolderList::MoveItems(folder, items, log);
    }));
    connect(mover_.get(), &QThread::finished, this, [this, results] {
        results_ = *results;
        mover_->wait();  // finished is raised just before the thread ends
        mover_.reset();
        emit quickMoveFinished();
    });
    mover_->start();
}

}  // namespace vandrel
