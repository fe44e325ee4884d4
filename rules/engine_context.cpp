#include "rules/engine_context.h"

#include "platform/clock.h"

namespace vandrel {

const Clock& EngineContext::clockOrSystem() const {
    return clock ? *clock : SystemClock::instance();
}

}  // namespace vandrel
