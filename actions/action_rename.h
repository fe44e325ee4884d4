// "Rename": gives the item a new name built from a pattern, in the same folder, never
// overwriting anything, and hands on the new path. Not thread-safe.
#pragma once

#include "actions/pattern.h"
#include "rules/engine_context.h"
#include "rules/i_action_take.h"

namespace vandrel {

class ActionRename final : public IActionTake {
  public:
    explicit ActionRename(const EngineContext& ctx);

    // Payload: pattern <|AC|> rename value (0/1); the replace value is 1 minus it.
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;
    // Returns paramList unchanged, logging nothing and telling the rule why, when the
    // pattern or its expansion is empty (or only "." / ".."), when the new name holds a
    // "/" (a rename stays in the item's folder), or when the rename did not happen.
    QString TakeAction(const QString& paramList) override;

    void setRename(bool on) { renameValue_ = on ? 1 : 0; }
    void setReplace(bool on) { renameValue_ = on ? 0 : 1; }
    int renameValue() const { return renameValue_; }
    int replaceValue() const { return 1 - renameValue_; }
    Pattern& pattern() { return pattern_; }
    const Pattern& pattern() const { return pattern_; }

  private:
    EngineContext ctx_;
    Pattern pattern_;
    int renameValue_ = 1;
};

}  // namespace vandrel
