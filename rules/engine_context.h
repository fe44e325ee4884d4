// The shared services the rule engine hands to conditions and actions. Created once by
// the command line or the desktop program (tests make their own) and passed down by
// value; every pointer may be null, in which case the service is skipped (no log, no
// in-use test, the system clock, no confirmation question).
#pragma once

namespace vandrel {

class LogManager;
class AttributeHelper;
class FileInUseProbe;
class Clock;
class ActionPrompt;
class EvaluationScope;
class FileSystem;

struct EngineContext {
    LogManager* log = nullptr;
    AttributeHelper* attributes = nullptr;
    FileInUseProbe* inUse = nullptr;
    const Clock* clock = nullptr;
    ActionPrompt* prompt = nullptr;
    // The file system the conditions look at items through (null: the real one).
    FileSystem* fs = nullptr;
    // The evaluation under way, set by the rule list for the rules it owns; conditions
    // asked outside one take their own look.
    EvaluationScope* evaluation = nullptr;

    // The clock to use: the given one or the system clock.
    const Clock& clockOrSystem() const;
    // The file system to use: the given one or the real one.
    FileSystem& fileSystem() const;
};

}  // namespace vandrel
