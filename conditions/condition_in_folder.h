// "In Folder": a plain, case-insensitive prefix test of the item's path against a folder
// text (so it covers the folder itself and everything below it). Files and folders alike.
// Payload: folder<|CD|>forinfolder.
#pragma once

#include "conditions/upper_cache.h"
#include "rules/i_condition_check.h"

namespace vandrel {

class ConditionInFolder : public IConditionCheck {
  public:
    bool DoCheck(const QString& paramList) override;
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;

    QString folder;

  private:
    UpperCache upperFolder_;
};

}  // namespace vandrel
