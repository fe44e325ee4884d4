// What "Move to" and "Copy to" share: a destination folder, an optional subfolder named
// by a pattern, and the conflict rule. The two kinds differ only in the operation they
// request and the name they log (ActionMove, ActionCopy). Not thread-safe.
#pragma once

#include <QString>

#include "actions/pattern.h"
#include "rules/engine_context.h"
#include "rules/i_action_take.h"

namespace vandrel {

class ActionRelocate : public IActionTake {
  public:
    // Payload: folder <|AC|> sort-into-subfolder (0/1) <|AC|> subfolder pattern
    // <|AC|> rename value (0/1). The replace value is always 1 minus the rename value.
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;

    // Relocates the item through the safe file operations and returns its new parameter
    // list. Returns paramList unchanged, logs nothing and tells the rule why (markNotDone)
    // when the destination is not set or not an existing folder, when the subfolder
    // pattern would lead out of it, or when the operation did not happen.
    QString TakeAction(const QString& paramList) override;

    // Editor and command-line input (separator tokens and line breaks removed).
    void setFolder(const QString& folder);
    void setSortIntoSubfolder(bool on) { sortSubfolder_ = on ? 1 : 0; }
    void setRename(bool on) { renameValue_ = on ? 1 : 0; }
    void setReplace(bool on) { renameValue_ = on ? 0 : 1; }

    const QString& folder() const { return folder_; }
    bool sortIntoSubfolder() const { return sortSubfolder_ == 1; }
    int renameValue() const { return renameValue_; }
    int replaceValue() const { return 1 - renameValue_; }
    Pattern& pattern() { return pattern_; }
    const Pattern& pattern() const { return pattern_; }

  protected:
    ActionRelocate(const EngineContext& ctx, int fileOpKind, QString actionName);

  private:
    EngineContext ctx_;
    int fileOpKind_;
    QString actionName_;
    QString folder_;
    int sortSubfolder_ = 0;
    Pattern pattern_;
    int renameValue_ = 1;
};

}  // namespace vandrel
