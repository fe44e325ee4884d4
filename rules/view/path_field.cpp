#include "rules/view/path_field.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>

#include "rules/rule_text.h"
#include "rules/view/typed_text_guard.h"

namespace vandrel {

PathField::PathField(Mode mode, const QString& caption, const QString& path, QWidget* parent)
    : QWidget(parent), mode_(mode), caption_(caption) {
    field_ = new QLineEdit(path, this);
    field_->setObjectName(QStringLiteral("txtPath"));
    field_->setPlaceholderText(caption);
    field_->setAccessibleName(caption);
    field_->setToolTip(path);
    field_->setCursorPosition(0);  // the start of a long path says more than its end
    GuardTypedText(field_);
    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("btnBrowse"));
    button_->setText(QStringLiteral("..."));
    button_->setAccessibleName(caption + QStringLiteral("..."));
    button_->setFocusPolicy(Qt::StrongFocus);
    connect(field_, &QLineEdit::textEdited, this, [this](const QString& text) {
        field_->setToolTip(text);
        emit pathChanged(StripSeparators(text));
    });
    connect(button_, &QToolButton::clicked, this, &PathField::browse);
}

QString PathField::path() const { return field_->text(); }

void PathField::setPath(const QString& path) {
    field_->setText(path);
    field_->setCursorPosition(0);
    field_->setToolTip(path);
}

void PathField::resizeEvent(QResizeEvent*) {
    const int b = height();
    field_->setGeometry(0, 0, width() - b - 2, height());
    button_->setGeometry(width() - b, 0, b, height());
}

void PathField::browse() {
    QString chosen;
    switch (mode_) {
        case Mode::Folder:
            chosen = QFileDialog::getExistingDirectory(this, caption_, path());
            break;
        case Mode::OpenFile:
            chosen = QFileDialog::getOpenFileName(this, caption_, path());
            break;
        case Mode::SaveFile:
            chosen = QFileDialog::getSaveFileName(this, caption_, path(), QString(), nullptr,
                                                  QFileDialog::DontConfirmOverwrite);
            if (!chosen.isEmpty() && QFileInfo::exists(chosen) &&
                QMessageBox::question(this, caption_,
                                      QStringLiteral("Are you sure to use the exist file?"),
                                      QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
                return;
            break;
    }
    // Cancelling the dialog changes nothing.
    if (chosen.isEmpty()) return;
    chosen = StripSeparators(chosen);
    setPath(chosen);
    emit pathChanged(chosen);
}

}  // namespace vandrel
