#include "wex_check.h"

namespace wexcontrols {

WexCheck::WexCheck(QWidget* parent)
    : WexMark(QStringLiteral("Check"), 3, images::CheckCells(), parent) {}

}  // namespace wexcontrols
