// A gallery cell: a bold caption over the piece it names.
#pragma once

#include <QString>
#include <Qt>

class QWidget;

namespace vandrel::gallery {

// content is placed by alignment below title (a stretch keeps both at the top).
QWidget* Titled(const QString& title, QWidget* content, Qt::Alignment alignment = {});

}  // namespace vandrel::gallery
