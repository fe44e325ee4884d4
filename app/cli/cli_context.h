// What a subcommand of the command line works with: the data folder, the output
// streams, and the engine's services, each created on first use. Lives for one command.
#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>

#include "platform/data_paths.h"
#include "platform/state_store.h"
#include "rules/engine_context.h"

namespace vandrel {

class RuleList;
class LogManager;
class AttributeHelper;
class FileInUseProbe;
class ActionPrompt;

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // data folder or state file problem, failed action
inline constexpr int kExitUsage = 2;    // bad arguments
// The scheduler was refused because another Vandrel program holds the data folder: a
// service manager must not start it again and again for that.
inline constexpr int kExitHeld = 3;

class CliContext {
  public:
    CliContext(DataPaths paths, QTextStream& out, QTextStream& err);
    ~CliContext();

    const DataPaths& paths() const { return paths_; }
    QTextStream& out() { return out_; }
    QTextStream& err() { return err_; }

    // The engine's services. The log is not opened for them: commands that act call
    // logUsable() first, and actions taken without an open log fail to commit, which
    // makes every batch stop.
    EngineContext engine();
    // The action log, opened on first use (a log that cannot be opened is said once on
    // stderr; a log of an older program is made searchable first, with progress on stderr).
    LogManager& log();
    // Whether the log can record actions: call before acting and after each item; false
    // after one line on stderr saying why (once), and the command then exits 1.
    bool logUsable();
    // The rule list loaded from rules.txt; null (after a message) when the file exists
    // but cannot be read (it is kept aside). Values the rules cannot read are reported
    // once, each naming its rule.
    RuleList* rules();
    // Changes rules.txt by read-modify-write under the data folder's state lock: change
    // gets the rules as they are on disk now and returns whether it changed them. The
    // rule list of rules() then holds what was written. False after a message.
    bool updateRules(const std::function<bool(RuleList&)>& change);
    // The state store every writer of this command goes through.
    const StateStore& store() const { return store_; }
    // Turns a failed update of file into a message; true when the update went through.
    bool reportUpdate(const QString& file, const StateUpdateResult& result);
    // Replaces the confirmation prompt (the default answers no).
    void setPrompt(ActionPrompt* prompt) { prompt_ = prompt; }
    // How long a change handed to a running desktop program may take to be answered.
    int handoverTimeoutMs() const { return handoverTimeoutMs_; }
    void setHandoverTimeout(int ms) { handoverTimeoutMs_ = ms; }

    // "vandrel: <message>" on stderr; returns status.
    int fail(int status, const QString& message);

  private:
    DataPaths paths_;
    QTextStream& out_;
    QTextStream& err_;
    std::unique_ptr<LogManager> log_;
    bool logTried_ = false;
    bool logUnusableSaid_ = false;
    std::unique_ptr<AttributeHelper> attributes_;
    std::unique_ptr<FileInUseProbe> inUse_;
    std::unique_ptr<RuleList> rules_;
    bool rulesTried_ = false;
    StateStore store_;
    ActionPrompt* prompt_ = nullptr;
    int handoverTimeoutMs_ = 5000;
};

// A field of a tab-separated output line: a backslash, tab or line break inside it is
// written as \\, \t, \n or \r so that every record stays one line of the same columns.
QString TsvField(const QString& text);

// A subcommand: receives the arguments after its name; returns the exit status.
using CliCommandFn = int (*)(CliContext& ctx, const QStringList& args);

struct CliCommand {
    const char* name;  // "log", "rules", ...
    CliCommandFn run;
    const char* usage;  // one line, shown by "vandrel" without arguments
};

}  // namespace vandrel
