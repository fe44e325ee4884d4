// WexFolder: a folder picker field; a click opens BrowseForFolder titled "Select a Folder".
#pragma once

#include <functional>

#include "wex_path_field.h"

namespace wexcontrols {

class WexFolder : public WexPathField {
    Q_OBJECT
  public:
    // Shows a folder picker (owner, title); returns the folder or the empty text.
    using Chooser = std::function<QString(QWidget* owner, const QString& title)>;

    explicit WexFolder(QWidget* parent = nullptr);

    // Replaces the platform picker (a host's own picker, or a test's scripted answer).
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  protected:
    QString choose() override;

  private:
    Chooser chooser_;
};

}  // namespace wexcontrols
