#include "control_factory.h"

#include <functional>
#include <utility>
#include <vector>

#include "aqua_add_button.h"
#include "aqua_button.h"
#include "aqua_check.h"
#include "aqua_check_light.h"
#include "aqua_close_btn.h"
#include "aqua_function_button.h"
#include "aqua_help_button.h"
#include "aqua_radio.h"
#include "aqua_search_box.h"
#include "aqua_tab.h"
#include "aqua_v_scroll_bar.h"
#include "grey_close.h"

namespace vitreon {
namespace {

using Maker = std::function<std::unique_ptr<QWidget>()>;

template <typename Control>
std::pair<const char*, Maker> entry(const char* id) {
    return {id, [] { return std::make_unique<Control>(); }};
}

const std::vector<std::pair<const char*, Maker>>& registry() {
    static const std::vector<std::pair<const char*, Maker>> controls = {
        entry<AquaButton>("Vitreon.AquaButton"),
        entry<AquaHelpButton>("Vitreon.AquaHelpButton"),
        entry<AquaVScrollBar>("Vitreon.AquaVScrollBar"),
        entry<AquaTab>("Vitreon.AquaTab"),
        entry<AquaCheck>("Vitreon.AquaCheck"),
        entry<AquaCheckLight>("Vitreon.AquaCheckLight"),
        entry<AquaRadio>("Vitreon.AquaRadio"),
        entry<AquaCloseBtn>("Vitreon.AquaCloseBtn"),
        entry<GreyClose>("Vitreon.GreyClose"),
        entry<AquaAddButton>("Vitreon.AquaAddButton"),
        entry<AquaFunctionButton>("Vitreon.AquaFunctionButton"),
        entry<AquaSearchBox>("Vitreon.AquaSearchBox"),
    };
    return controls;
}

}  // namespace

std::unique_ptr<QWidget> CreateControl(const QString& classId) {
    for (const auto& [id, make] : registry()) {
        if (classId == QLatin1String(id)) return make();
    }
    return nullptr;
}

QStringList ControlClassIds() {
    QStringList ids;
    for (const auto& entryPair : registry()) ids.append(QLatin1String(entryPair.first));
    return ids;
}

}  // namespace vitreon
