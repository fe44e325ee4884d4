#include "log/log_page_cache.h"

#include <limits>

namespace vandrel {

LogPageCache::WordPages* LogPageCache::find(const QString& word, int pageSize) {
    for (auto it = words_.begin(); it != words_.end(); ++it) {
        if (it->pageSize != pageSize || it->word != word) continue;
        if (it != words_.begin()) {
            WordPages moved = std::move(*it);
            words_.erase(it);
            words_.push_front(std::move(moved));
        }
        return &words_.front();
    }
    return nullptr;
}

LogPageCache::Plan LogPageCache::planFor(const QString& word, int pageSize, qint64 page) {
    Plan plan;
    if (page <= 1) return plan;
    plan.skipRows = (page - 1) * pageSize;
    const WordPages* known = find(word, pageSize);
    if (!known || known->pages.empty()) return plan;
    const auto same = known->pages.find(page);
    if (same != known->pages.end()) {  // read again (a refresh): start at its newest row
        // No id lies above the largest one, so "no boundary" then means the same.
        if (same->second.newestId < std::numeric_limits<qint64>::max())
            plan.boundary = same->second.newestId + 1;
        plan.skipRows = 0;
        return plan;
    }

    // The nearest remembered page on each side; the walk from the closer one skips the
    // fewest rows (none at all for the page right next to a remembered one).
    const auto older = known->pages.upper_bound(page);
    auto newer = known->pages.lower_bound(page);
    const bool hasNewer = newer != known->pages.begin();
    if (hasNewer) --newer;

    qint64 skipFromNewer = plan.skipRows;
    if (hasNewer) skipFromNewer = (page - 1 - newer->first) * pageSize;
    qint64 skipFromOlder = std::numeric_limits<qint64>::max();
    if (older != known->pages.end()) skipFromOlder = (older->first - page - 1) * pageSize;

    if (skipFromOlder < skipFromNewer) {
        plan.newestFirst = false;
        plan.boundary = older->second.newestId;
        plan.skipRows = skipFromOlder;
    } else if (hasNewer) {
        plan.boundary = newer->second.oldestId;
        plan.skipRows = skipFromNewer;
    }
    return plan;
}

void LogPageCache::remember(const QString& word, int pageSize, qint64 page, Bounds bounds) {
    WordPages* known = find(word, pageSize);
    if (!known) {
        words_.push_front(WordPages{word, pageSize, {}});
        if (words_.size() > kMaxWords) words_.pop_back();
        known = &words_.front();
    }
    if (known->pages.size() >= kMaxPagesPerWord) known->pages.clear();
    known->pages[page] = bounds;
}

}  // namespace vandrel
