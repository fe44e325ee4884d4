// "Run": starts a chosen program, optionally with arguments built from a pattern in
// which the token filepath stands for the item's path. The program is started directly
// with an argument list, never through a shell, so no file name can inject a command.
// Not thread-safe.
#pragma once

#include "actions/pattern.h"
#include "actions/process_launcher.h"
#include "rules/engine_context.h"
#include "rules/i_action_take.h"

namespace vandrel {

class ActionRun final : public IActionTake {
  public:
    explicit ActionRun(const EngineContext& ctx);

    // Payload: program path <|AC|> pass-parameters value (0/1) <|AC|> parameter pattern.
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;
    // Starts the program when it exists (else returns paramList, logging nothing) and
    // logs one "Run" record; a program that could not be started is reported through the
    // prompt and not logged.
    QString TakeAction(const QString& paramList) override;

    // The argument list TakeAction would pass for an item path.
    QStringList ArgumentsFor(const QString& itemPath) const;

    void setApplication(const QString& path);
    void setPassParameters(bool on) { params_ = on ? 1 : 0; }
    const QString& application() const { return application_; }
    bool passParameters() const { return params_ == 1; }
    Pattern& pattern() { return pattern_; }
    const Pattern& pattern() const { return pattern_; }
    // Test hook: replaces the program starter.
    void setLauncher(ProcessLauncher launcher) { launch_ = std::move(launcher); }

  private:
    EngineContext ctx_;
    QString application_;
    int params_ = 0;
    Pattern pattern_;
    ProcessLauncher launch_;
};

}  // namespace vandrel
