// Arbitrary text as a rule list and as a watched-folder list (an imported rules file, a
// folders.txt): saved, loaded and saved again it must give the same text; no crash, no hang.
#include <QCoreApplication>
#include <cstdlib>

#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "rules/rule_list.h"

template <typename List>
void CheckRoundTrip(List first, List second, const QString& text) {
    first.LoadFromString(text);
    second.LoadFromString(first.SaveToString());
    if (second.SaveToString() != first.SaveToString()) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("fuzz_state_text"), nullptr};
    static QCoreApplication app(argc, argv);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const vandrel::EngineContext none;  // no log, no attributes: nothing is acted on
    CheckRoundTrip(vandrel::RuleList(none), vandrel::RuleList(none), text);
    const vandrel::Clock& clock = vandrel::SystemClock::instance();
    CheckRoundTrip(vandrel::WatchedFolderList(clock), vandrel::WatchedFolderList(clock), text);
    return 0;
}
