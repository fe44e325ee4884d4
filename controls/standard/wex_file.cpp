#include "wex_file.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

#include "wex_module.h"

namespace wexcontrols {

namespace {

const QString kDefaultMode = QStringLiteral("open");

QString ShowFileDialog(QWidget* owner, bool save) {
    if (!save) return QFileDialog::getOpenFileName(owner, QStringLiteral("Select a File"));
    // The control asks its own question about an existing file.
    return QFileDialog::getSaveFileName(owner, QStringLiteral("Select a File"), QString(),
                                        QString(), nullptr, QFileDialog::DontConfirmOverwrite);
}

bool AskOkCancel(QWidget* owner, const QString& question) {
    return QMessageBox::question(owner, QApplication::applicationDisplayName(), question,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

}  // namespace

WexFile::WexFile(QWidget* parent)
    : WexPathField(QStringLiteral("Select a File"), images::Decoration::File, parent),
      mode_(kDefaultMode),
      chooser_(&ShowFileDialog),
      confirmer_(&AskOkCancel) {}

void WexFile::setDialogMode(const QString& mode) {
    if (mode == mode_) return;
    mode_ = mode;
    markChanged();
}

bool WexFile::isSaveMode() const { return mode_.compare(u"save", Qt::CaseInsensitive) == 0; }

void WexFile::ReadProperties(const QVariantMap& bag) {
    readCaption(bag);
    setDialogMode(ReadText(bag, QStringLiteral("DialogMode"), kDefaultMode));
    clearChanged();
}

QVariantMap WexFile::WriteProperties() const {
    return {{QStringLiteral("Caption"), Caption()}, {QStringLiteral("DialogMode"), mode_}};
}

QString WexFile::choose() {
    const bool save = isSaveMode();
    const QPointer<WexFile> self(this);
    const QString chosen = chooser_(this, save);
    if (self.isNull() || chosen.isEmpty()) return {};
    if (save && FileExists(chosen) &&
        !confirmer_(this, QStringLiteral("Are you sure to use the exist file?"))) {
        return {};
    }
    return chosen;
}

}  // namespace wexcontrols
