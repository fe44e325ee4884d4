// The common part of every standard control: the caption label lblCaption (left 165,
// top 37 twips), an optional decoration picLeft at the right edge, the property bag, the
// "changed" mark, and keyboard activation (Space, Enter) with a focus ring. User-interface
// thread only.
#pragma once

#include <QLabel>
#include <QVariantMap>
#include <QWidget>

#include "wex_images.h"

namespace wexcontrols {

class WexStrip;

class WexControl : public QWidget {
    Q_OBJECT
  public:
    // How the control's background is drawn.
    enum class Look { Plain, Field, Button };

    // Reads the persisted properties; a missing or unreadable value takes the default.
    virtual void ReadProperties(const QVariantMap& bag) = 0;
    // The persisted properties under their persisted names.
    virtual QVariantMap WriteProperties() const = 0;

    // True once a property changed at run time (the host then saves the bag again).
    bool isChanged() const { return changed_; }
    void clearChanged() { changed_ = false; }

    QLabel* captionLabel() const { return lblCaption_; }
    WexStrip* decoration() const { return picLeft_; }
    // The caption's full text (the label may show it shortened to fit).
    QString captionText() const { return caption_; }

    QSize sizeHint() const override;

    // The left margin that puts the text of a text box at `left` pixels in line with the
    // captions of the other controls.
    static int TextIndent(int left);

  protected:
    WexControl(Look look, QWidget* parent);

    void markChanged();
    void setCaptionText(const QString& text);
    // The name for assistive technology while the caption is empty (an unnamed control).
    void setAccessibleFallback(const QString& name);
    // Takes ownership of the decoration and keeps it at the right edge.
    void setDecoration(WexStrip* strip);
    // Left edge of the caption in pixels (default 165 twips); applied by the next layout.
    void setCaptionLeft(int pixels);
    void setPressed(bool pressed);
    bool isPressed() const { return pressed_; }

    // A click, or its keyboard form (Space, Enter); the default does nothing.
    virtual void activate() {}
    virtual void layoutParts();
    // Places a text box at the standard inset (45 twips across, 30 down) inside the control.
    void placeTextBox(QWidget* box) const;

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A click is a left press and a release inside the control; it calls activate().
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Property bag readers: the default when the value is missing or of no usable type.
    static QString ReadText(const QVariantMap& bag, const QString& name, const QString& def);
    static bool ReadBool(const QVariantMap& bag, const QString& name, bool def);
    static qint64 ReadInteger(const QVariantMap& bag, const QString& name, qint64 def,
                              qint64 lowest, qint64 highest);

  private:
    const Look look_;
    QLabel* lblCaption_;
    WexStrip* picLeft_ = nullptr;
    QString caption_;
    QString accessibleFallback_;
    int captionLeft_;
    bool changed_ = false;
    bool pressed_ = false;
};

}  // namespace wexcontrols
