// A search word of the action log and how it is answered. Search words are matched with
// every letter's case ignored: the table keeps a case-folded copy of each row's search words
// (foldedwords), and the word is folded the same way before it is matched with `like`, where
// % and _ keep their wildcard meaning. A word with three or more plain characters in a row is
// answered by the trigram full-text index over the folded copies, which gives exactly the rows
// the `like` scan gives; shorter words are answered by the scan. Plain value type.
#pragma once

#include <QString>
#include <string>

#include "log/log_page_cache.h"

namespace vandrel {

class LogSearchWord {
  public:
    // How the rows are found.
    enum class Route {
        All,     // the empty word: every row
        Scan,    // foldedwords like '%word%' over the whole table
        Phrase,  // the index, the word being one plain text (no wildcard)
        Glob,    // the index with the word as a glob pattern (wildcards between plain runs)
    };

    // word as typed: single quotes are removed (not doubled), then the rest is folded.
    explicit LogSearchWord(const QString& word);

    // The case folding applied to stored search words and to search words alike.
    static QString Fold(const QString& text);

    Route route() const { return route_; }
    bool usesIndex() const { return route_ == Route::Phrase || route_ == Route::Glob; }
    // The same word answered by the scan.
    LogSearchWord scanned() const {
        LogSearchWord w = *this;
        if (usesIndex()) w.route_ = Route::Scan;
        return w;
    }
    // Whether a count of the word can be matched in the packed search words rather than
    // scanned: a word the scan answers, its pattern not too long for SQLite.
    bool countsInPacks() const { return route_ == Route::Scan && !tooLong_; }
    // The folded word: what equal searches share (the page cache's key).
    const QString& folded() const { return folded_; }

    // The SQL of one page: parameters :b (boundary, when the plan has one), :w (the value
    // of parameter()), :n (rows) and :k (rows skipped); columns as LogManager reads them.
    std::string pageSql(const LogPageCache::Plan& plan) const;
    // The SQL of the count of the rows with ids from :lo to :hi, with parameter :w.
    std::string countSql() const;
    // For a glob word: its longest run of plain characters as an index phrase, which finds
    // every row the word can match (and more).
    QString longestRunPhrase() const;
    // For a glob word with two or more runs of at least three plain characters: the index
    // query of the rows holding its two longest ("run" AND "run"), else empty.
    QString twoRunsPhrase() const;
    // The value bound to :w: the like pattern, the index's phrase or its glob pattern.
    QString parameter() const;

  private:
    QString folded_;
    Route route_ = Route::All;
    bool tooLong_ = false;
};

}  // namespace vandrel
