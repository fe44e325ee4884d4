// The pattern editor: text segments and attribute tokens on one line in a fixed-pitch
// font, over a Pattern model that it edits directly. Tokens are inserted at the caret;
// Left, Right and Backspace cross segment borders; a click on the free area goes to the
// end; the strip scrolls so the segment being edited stays in view. UI thread only.
#pragma once

#include <QWidget>
#include <vector>

#include "actions/pattern.h"

class QLineEdit;

namespace vandrel {

class PatternInput : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMinWidth = 600;  // twips
    static constexpr int kMaxWidth = 3000;
    static constexpr int kEndImageWidth = 150;

    // model: the pattern edited; it must outlive the widget.
    explicit PatternInput(Pattern& model, QWidget* parent = nullptr);

    QString GetSplitChr() const { return Pattern::GetSplitChr(); }
    QString GetPatternString() const { return model_.GetPatternString(); }
    void SetPatternString(const QString& patternStr);
    void ClearAll();
    // Inserts the attribute as a token at the caret of the current text segment.
    void InsertPattern(const QString& attrName);
    // Width in twips, held between 600 and 3000.
    void setWidthTwips(int twips);

    // The widget of segment index (QLineEdit for text, QLabel for a token).
    QWidget* segmentWidget(int index) const;
    int segmentWidgetCount() const { return static_cast<int>(segments_.size()); }
    // How far the strip is shifted left, in pixels.
    int scrollOffset() const;

  signals:
    void patternChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void rebuild();
    void layoutSegments();
    void applyFocus();
    int indexOf(const QObject* w) const;
    int visibleWidth() const;

    Pattern& model_;
    QWidget* viewport_;
    QWidget* strip_;
    std::vector<QWidget*> segments_;
};

}  // namespace vandrel
