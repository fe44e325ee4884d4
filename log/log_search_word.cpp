#include "log/log_search_word.h"

#include <QList>
#include <QStringList>
#include <algorithm>

namespace vandrel {

namespace {

// The trigram index finds a pattern only through runs of at least three plain characters.
constexpr int kTrigram = 3;
// SQLite refuses like and glob patterns longer than this (in bytes); such a word goes to the
// scan, which says so, rather than to the index, which would quietly find nothing.
constexpr qsizetype kLongestPattern = 50000 - 2;

const char kColumns[] =
    "id, taketime, ruletitle, actionname, dstpath, oripath, searchwords, takeuid, "
    "coalesce(runid, takeuid), undomark";
const char kJoinedColumns[] =
    "a.id, a.taketime, a.ruletitle, a.actionname, a.dstpath, a.oripath, a.searchwords, "
    "a.takeuid, coalesce(a.runid, a.takeuid), a.undomark";

// The like wildcards, and the characters the index's glob reading takes for its own
// (escaped, they still end its runs of plain text).
bool EndsRun(uint c) {
    return c == uint(u'%') || c == uint(u'_') || c == uint(u'*') || c == uint(u'?') ||
           c == uint(u'[') || c == uint(u']');
}

// Longest run of characters (code points, as the tokenizer counts them) the index can look
// up: without a wildcard, or for a word without wildcards, the whole word.
int LongestPlainRun(const QString& word, bool wildcards) {
    int longest = 0;
    int run = 0;
    for (const uint c : word.toUcs4()) {
        run = wildcards && EndsRun(c) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

// The like pattern '%word%' as a glob pattern: on folded text, where like's own ASCII case
// blindness changes nothing, the two match the same texts.
QString GlobPattern(const QString& word) {
    QString glob = QStringLiteral("*");
    for (const QChar c : word) {
        switch (c.unicode()) {
            case '%':
                glob += QLatin1Char('*');
                break;
            case '_':
                glob += QLatin1Char('?');
                break;
            case '*':
            case '?':
            case '[':
                glob += QLatin1Char('[') + c + QLatin1Char(']');
                break;
            default:
                glob += c;
        }
    }
    return glob + QLatin1Char('*');
}

}  // namespace

QString LogSearchWord::Fold(const QString& text) { return text.toCaseFolded(); }

LogSearchWord::LogSearchWord(const QString& word) {
    QString clean = word;
    clean.remove(QLatin1Char('\''));
    folded_ = Fold(clean);
    const bool wildcards = folded_.contains(QLatin1Char('%')) || folded_.contains(QLatin1Char('_'));
    tooLong_ = folded_.toUtf8().size() > kLongestPattern;
    if (folded_.isEmpty())
        route_ = Route::All;
    else if (LongestPlainRun(folded_, wildcards) < kTrigram || tooLong_)
        route_ = Route::Scan;
    else
        route_ = wildcards ? Route::Glob : Route::Phrase;
}

namespace {

// The word's runs of plain characters, the longest first (of equal ones, the first).
QStringList RunsLongestFirst(const QString& word) {
    QStringList runs;
    QString run;
    for (const QChar c : word + QLatin1Char('%')) {
        if (!EndsRun(c.unicode())) {
            run += c;
            continue;
        }
        if (!run.isEmpty()) runs.append(run);
        run.clear();
    }
    std::stable_sort(runs.begin(), runs.end(), [](const QString& x, const QString& y) {
        return x.toUcs4().size() > y.toUcs4().size();
    });
    return runs;
}

// A run as an index phrase.
QString Quoted(QString run) {
    run.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + run + QLatin1Char('"');
}

}  // namespace

QString LogSearchWord::longestRunPhrase() const {
    const QStringList runs = RunsLongestFirst(folded_);
    return Quoted(runs.isEmpty() ? QString() : runs.front());
}

QString LogSearchWord::twoRunsPhrase() const {
    if (route_ != Route::Glob) return QString();
    const QStringList runs = RunsLongestFirst(folded_);
    if (runs.size() < 2 || runs[1].toUcs4().size() < kTrigram) return QString();
    return Quoted(runs[0]) + QLatin1String(" AND ") + Quoted(runs[1]);
}

QString LogSearchWord::parameter() const {
    switch (route_) {
        case Route::All:
            return QString();
        case Route::Scan:
            return QLatin1Char('%') + folded_ + QLatin1Char('%');
        case Route::Phrase: {
            // One phrase of the whole word: the trigrams in a row, which is the word itself.
            QString phrase = folded_;
            phrase.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + phrase + QLatin1Char('"');
        }
        case Route::Glob:
            return GlobPattern(folded_);
    }
    return QString();
}

std::string LogSearchWord::pageSql(const LogPageCache::Plan& plan) const {
    const bool index = route_ == Route::Phrase || route_ == Route::Glob;
    // The index gives its rows in id order itself; the cross join keeps it the outer loop.
    const std::string id = index ? "s.rowid" : "id";
    std::string where;
    if (route_ == Route::Scan) where = "foldedwords LIKE :w";
    if (route_ == Route::Phrase) where = "actionsearch MATCH :w";
    if (route_ == Route::Glob) where = "s.foldedwords GLOB :w";
    if (plan.boundary) {
        if (!where.empty()) where += " AND ";
        where += id + (plan.newestFirst ? " < :b" : " > :b");
    }
    std::string sql = "SELECT ";
    sql += index ? std::string(kJoinedColumns) +
                       " FROM actionsearch s CROSS JOIN actions a ON a.id = s.rowid"
                 : std::string(kColumns) + " FROM actions";
    if (!where.empty()) sql += " WHERE " + where;
    sql += " ORDER BY " + id + (plan.newestFirst ? " DESC" : " ASC");
    return sql + " LIMIT :n OFFSET :k";
}

std::string LogSearchWord::countSql() const {
    switch (route_) {
        case Route::All:
            // like '%%' holds for every value that is not NULL; counting those directly
            // gives the same number without matching a pattern against each row.
            return "SELECT count(searchwords) FROM actions WHERE id BETWEEN :lo AND :hi";
        case Route::Scan:
            return "SELECT count(*) FROM actions WHERE id BETWEEN :lo AND :hi AND foldedwords "
                   "LIKE :w";
        case Route::Phrase:
            return "SELECT count(*) FROM actionsearch WHERE actionsearch MATCH :w AND rowid "
                   "BETWEEN :lo AND :hi";
        case Route::Glob:
            return "SELECT count(*) FROM actionsearch WHERE foldedwords GLOB :w AND rowid "
                   "BETWEEN :lo AND :hi";
    }
    return std::string();
}

}  // namespace vandrel
