// "Open" and "Print": hands the item to the desktop's opener (xdg-open) or to the
// printing system (lp), optionally after asking first. One class serves both; the action
// list sets shellOP from the selector text. Not thread-safe.
#pragma once

#include "actions/process_launcher.h"
#include "rules/engine_context.h"
#include "rules/i_action_take.h"

namespace vandrel {

class ActionShell final : public IActionTake {
  public:
    explicit ActionShell(const EngineContext& ctx);

    // "open" or "print"; not part of the payload.
    QString shellOP = QStringLiteral("open");

    // Payload: the confirmation value alone, "0" or "1".
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;
    // Opens a file or folder, or prints a file; a folder is never printed. Asks first
    // when the confirmation is on (no prompt counts as "no"). One record with the verb is
    // logged whether or not the user declined; none when the opener or printer program
    // could not be started (that failure goes to the prompt's reporter).
    QString TakeAction(const QString& paramList) override;

    void setConfirm(bool on) { confirm_ = on ? 1 : 0; }
    bool confirm() const { return confirm_ == 1; }
    // Test hook: replaces the program starter.
    void setLauncher(ProcessLauncher launcher) { launch_ = std::move(launcher); }

  private:
    EngineContext ctx_;
    int confirm_ = 0;
    ProcessLauncher launch_;
};

}  // namespace vandrel
