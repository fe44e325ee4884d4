// Remembers, per search word and page size, the id range of each full page of the log
// already read, so that turning to the next or previous page is one short range read on
// the id key instead of skipping every newer matching row. The owner forgets it all
// whenever the table changes. Not thread-safe; owned by one LogManager.
#pragma once

#include <QString>
#include <deque>
#include <map>
#include <optional>

namespace vandrel {

class LogPageCache {
  public:
    // The newest and oldest id shown on one full page.
    struct Bounds {
        qint64 newestId = 0;
        qint64 oldestId = 0;
    };

    // How to read one page: walk the matching rows newest first below `boundary` (or
    // oldest first above it), skip `skipRows`, take a page. Without a boundary the walk
    // starts at the newest row.
    struct Plan {
        bool newestFirst = true;
        std::optional<qint64> boundary;
        qint64 skipRows = 0;
    };

    // page counts from 1; (page - 1) * pageSize must fit in 64 bits (the caller checks).
    Plan planFor(const QString& word, int pageSize, qint64 page);
    // Records the bounds of a page that came back full.
    void remember(const QString& word, int pageSize, qint64 page, Bounds bounds);
    void clear() { words_.clear(); }

  private:
    struct WordPages {
        QString word;
        int pageSize = 0;
        std::map<qint64, Bounds> pages;
    };
    WordPages* find(const QString& word, int pageSize);

    // Most recently used first; a handful of searches is all a user flips between.
    std::deque<WordPages> words_;
    static constexpr size_t kMaxWords = 8;
    static constexpr size_t kMaxPagesPerWord = 200000;
};

}  // namespace vandrel
