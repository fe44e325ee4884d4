#include "app/gallery/gallery_titled.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vandrel::gallery {

QWidget* Titled(const QString& title, QWidget* content, Qt::Alignment alignment) {
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(title);
    QFont f = caption->font();
    f.setBold(true);
    caption->setFont(f);
    v->addWidget(caption);
    v->addWidget(content, 0, alignment);
    v->addStretch();
    return box;
}

}  // namespace vandrel::gallery
