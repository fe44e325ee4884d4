#include "rules/engine_context.h"

#include "platform/clock.h"
#include "platform/file_system.h"

namespace vandrel {

const Clock& EngineContext::clockOrSystem() const {
    return clock ? *clock : SystemClock::instance();
}

FileSystem& EngineContext::fileSystem() const { return fs ? *fs : DefaultFileSystem(); }

}  // namespace vandrel
