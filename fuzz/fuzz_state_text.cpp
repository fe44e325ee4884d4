// Arbitrary text as a rule list and as a watched-folder list (both come in from outside:
// an imported rules file, a folders.txt). Loaded, saved, loaded and saved again, the two
// saved texts must be equal; nothing may crash or hang on the way.
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "rules/rule_list.h"

template <typename List>
void CheckRoundTrip(List first, List second, const QString& text) {
    first.LoadFromString(text);
    const QString saved = first.SaveToString();
    second.LoadFromString(saved);
    if (second.SaveToString() != saved) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("fuzz_state_text"), nullptr};
    static QCoreApplication app(argc, argv);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const vandrel::EngineContext ctx;  // nothing is acted on
    CheckRoundTrip(vandrel::RuleList(ctx), vandrel::RuleList(ctx), text);
    const vandrel::Clock& clock = vandrel::SystemClock::instance();
    CheckRoundTrip(vandrel::WatchedFolderList(clock), vandrel::WatchedFolderList(clock), text);
    return 0;
}
