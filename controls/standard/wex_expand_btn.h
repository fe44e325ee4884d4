// WexExpandBtn: a two-state expander, a chevron strip and the caption at left 360 twips.
// A click, Space or Enter flips Expanded; Right expands and Left collapses.
#pragma once

#include "wex_control.h"

namespace wexcontrols {

class WexExpandBtn : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool Expanded READ Expanded WRITE setExpanded)
  public:
    explicit WexExpandBtn(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void setText(const QString& text);
    bool Expanded() const { return expanded_; }
    // Redraws without raising Click (only the user's flip raises it).
    void setExpanded(bool expanded);
    WexStrip* strip() const { return picStrip_; }

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    void Click();

  protected:
    void activate() override;
    void layoutParts() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    WexStrip* picStrip_;
    QString text_;
    bool expanded_ = false;
};

}  // namespace wexcontrols
