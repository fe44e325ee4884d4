// A folder or file path in an editor row: typed, or chosen with the "..." button in the
// platform's dialog. Shows the caption ("Select a Folder") while empty.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vandrel {

class PathField : public QWidget {
    Q_OBJECT
  public:
    enum class Mode { Folder, OpenFile, SaveFile };
    PathField(Mode mode, const QString& caption, const QString& path, QWidget* parent = nullptr);

    QString path() const;
    void setPath(const QString& path);
    QLineEdit* field() const { return field_; }

  signals:
    // The user typed or chose a path (already free of separator tokens and line breaks).
    void pathChanged(const QString& path);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void browse();

    Mode mode_;
    QString caption_;
    QLineEdit* field_;
    QToolButton* button_;
};

}  // namespace vandrel
