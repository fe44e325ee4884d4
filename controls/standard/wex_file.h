// WexFile: a file picker field. DialogMode "open" shows the open form of the file dialog;
// "save" shows the save form and asks before an existing file is used.
#pragma once

#include <functional>

#include "wex_path_field.h"

namespace wexcontrols {

class WexFile : public WexPathField {
    Q_OBJECT
    Q_PROPERTY(QString DialogMode READ DialogMode WRITE setDialogMode)
  public:
    // Shows the file dialog (owner, save form?); returns the chosen path or the empty text.
    using Chooser = std::function<QString(QWidget* owner, bool save)>;
    // Asks whether an existing file may be used (owner, question); true for OK.
    using Confirmer = std::function<bool(QWidget* owner, const QString& question)>;

    explicit WexFile(QWidget* parent = nullptr);

    QString DialogMode() const { return mode_; }
    void setDialogMode(const QString& mode);
    bool isSaveMode() const;

    // Replace the platform dialogs (a host's own, or a test's scripted answers).
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }
    void setConfirmer(Confirmer confirmer) { confirmer_ = std::move(confirmer); }

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  protected:
    QString choose() override;

  private:
    QString mode_;
    Chooser chooser_;
    Confirmer confirmer_;
};

}  // namespace wexcontrols
