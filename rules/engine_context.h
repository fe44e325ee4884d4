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

struct EngineContext {
    LogManager* log = nullptr;
    AttributeHelper* attributes = nullptr;
    FileInUseProbe* inUse = nullptr;
    const Clock* clock = nullptr;
    ActionPrompt* prompt = nullptr;

    // The clock to use: the given one or the system clock.
    const Clock& clockOrSystem() const;
};

}  // namespace vandrel
