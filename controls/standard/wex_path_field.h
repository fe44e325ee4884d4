// The common part of WexFolder and WexFile: a Caption shown until a path is chosen, and the
// run-time Text (the path, not persisted) shown as its last component with the whole path as
// tooltip. A click, Space or Enter runs the chooser; an empty choice changes nothing.
#pragma once

#include "wex_control.h"

namespace wexcontrols {

class WexPathField : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Text READ Text WRITE setText)
  public:
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QString Text() const { return text_; }
    // Stores the path; the caption shows its last component, or Caption again when empty.
    void setText(const QString& text);

  signals:
    void Click();

  protected:
    WexPathField(const QString& defaultCaption, images::Decoration decoration, QWidget* parent);

    // Asks the user; returns the chosen path, or the empty text to change nothing.
    virtual QString choose() = 0;

    void activate() override;
    void readCaption(const QVariantMap& bag);

  private:
    void showPath();

    const QString defaultCaption_;
    QString caption_;
    QString text_;
};

}  // namespace wexcontrols
