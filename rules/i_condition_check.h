// The contract of every condition kind: does an item (a parameter list) satisfy it.
#pragma once

#include "rules/i_string_stream.h"

namespace vandrel {

class IConditionCheck : public IStringStream {
  public:
    // paramList: kind + "<|PA|>" + path. Reports no errors: a condition that cannot
    // decide answers false.
    virtual bool DoCheck(const QString& paramList) = 0;
    // A stored value the last load could not read, for the user ("the date ... cannot be
    // read"); empty when all was read. Such a value is kept as stored.
    virtual QString loadProblem() const { return QString(); }
};

}  // namespace vandrel
