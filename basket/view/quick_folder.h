// One quick folder under the basket: a folder icon, the folder's short name (or
// "Browse..." for the empty slot) and a small delete button, framed grey, or blue while
// files are dragged over it. It only shows and reports: clicks, drops and deletions go to
// its QuickFolderPaper as signals.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
namespace vitreon {
class GreyClose;
}

namespace vandrel {

class QuickFolder : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 1350;
    static constexpr int kHeightTwips = 350;
    static inline const QColor kGrey{150, 150, 150};
    static inline const QColor kBlue{0, 0, 255};

    explicit QuickFolder(QWidget* parent = nullptr);

    // Sets the folder (empty for the "Browse..." slot) and refreshes label and tooltip.
    void LoadFromString(const QString& path);
    QString SaveToString() const { return folderPath_; }
    void GrayTheColor() { setHighlight(false); }
    void setHighlight(bool blue);
    QColor frameColor() const { return colour_; }
    QString labelText() const;

  signals:
    void FolderDelete();
    void DragFileOver();
    // The label was pressed: open the folder, or choose one for the empty slot.
    void activated();
    void filesDropped(const QList<QUrl>& urls);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QString folderPath_;
    QColor colour_ = kGrey;
    QLabel* lblName_;
    vitreon::GreyClose* cmdDelete_;
};

}  // namespace vandrel
