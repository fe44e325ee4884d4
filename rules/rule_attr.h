// Title and GUID of one rule, handed to the windows that let the user pick rules.
#pragma once

#include <QString>

namespace vandrel {

struct RuleAttr {
    QString ruleTitle;
    QString ruleGUID;
};

}  // namespace vandrel
