// Every persisted object of the rule engine saves itself to a text and loads itself back.
#pragma once

#include <QString>

namespace vandrel {

class IStringStream {
  public:
    virtual ~IStringStream() = default;
    // The object's persisted text.
    virtual QString SaveToString() const = 0;
    // Restores the object from such a text. Never fails: missing fields keep defaults.
    virtual void LoadFromString(const QString& text) = 0;
};

}  // namespace vandrel
