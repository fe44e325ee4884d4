#include "wex_radio.h"

namespace wexcontrols {

WexRadio::WexRadio(QWidget* parent)
    : WexMark(QStringLiteral("Radio"), 2, images::RadioCells(), parent) {}

}  // namespace wexcontrols
