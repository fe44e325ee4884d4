// "Add Path to": appends the item's full path to a plain-text list file, one UTF-8 line
// ended by CR LF per item; the file is created when missing. Not thread-safe.
#pragma once

#include "rules/engine_context.h"
#include "rules/i_action_take.h"

namespace vandrel {

class ActionAddTo final : public IActionTake {
  public:
    explicit ActionAddTo(const EngineContext& ctx);

    // Payload: the list-file path alone.
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;
    // Appends the line and logs one "AddTo" record. An empty list-file path does
    // nothing; a list file that cannot be written (no folder part, missing folder, no
    // permission, a folder of that name, a full disk) is reported through the prompt and
    // logs nothing; so is an item path holding a line break (it would become two lines).
    QString TakeAction(const QString& paramList) override;

    void setListFile(const QString& path);
    const QString& listFile() const { return listFile_; }

  private:
    EngineContext ctx_;
    QString listFile_;
};

}  // namespace vandrel
