#include "actions/pattern.h"

#include <QStringList>
#include <algorithm>

#include "rules/rule_text.h"

namespace vandrel {

QString Pattern::GetSplitChr() { return QStringLiteral("<//>"); }

Pattern::Pattern() { segments_.push_back({}); }

void Pattern::ClearAll() {
    segments_.clear();
    current_ = -1;
    caret_ = 0;
}

void Pattern::SetPatternString(const QString& patternStr) {
    ClearAll();
    const QStringList parts = patternStr.split(GetSplitChr(), Qt::KeepEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) segments_.push_back({i % 2 == 1, parts.at(i)});
    // A string with an unclosed marker ends on a token; keep the editor's rule that the
    // sequence ends with a text segment.
    if (segments_.empty() || segments_.back().isToken) segments_.push_back({});
}

QString Pattern::GetPatternString() const {
    QString out;
    const QString mark = GetSplitChr();
    for (const PatternSegment& s : segments_) out += s.isToken ? mark + s.text + mark : s.text;
    return out;
}

bool Pattern::isText(int index) const {
    return index >= 0 && index < segmentCount() && !segments_[index].isToken;
}

void Pattern::setFocus(int index, int caret) {
    if (!isText(index)) {
        current_ = -1;
        caret_ = 0;
        return;
    }
    current_ = index;
    caret_ = std::clamp(caret, 0, static_cast<int>(segments_[index].text.size()));
}

void Pattern::setSegmentText(int index, const QString& text) {
    if (!isText(index)) return;
    QString clean = StripSeparators(text);
    // Removing one marker can join the halves of another ("</<//>/>"): repeat.
    while (clean.contains(GetSplitChr())) clean.remove(GetSplitChr());
    segments_[index].text = clean;
    setFocus(index, static_cast<int>(clean.size()));
}

void Pattern::InsertPattern(const QString& attrName) {
    if (!isText(current_)) return;
    const QString text = segments_[current_].text;
    const QString left = text.left(caret_);
    const QString right = text.mid(caret_);
    segments_[current_].text = left;
    segments_.insert(segments_.begin() + current_ + 1,
                     {PatternSegment{true, attrName}, PatternSegment{false, right}});
    caret_ = static_cast<int>(left.size());
}

bool Pattern::KeyLeft() {
    if (!isText(current_) || caret_ != 0 || current_ < 2) return false;
    setFocus(current_ - 2, static_cast<int>(segments_[current_ - 2].text.size()));
    return true;
}

bool Pattern::KeyRight() {
    if (!isText(current_) || caret_ != segments_[current_].text.size() ||
        current_ + 2 >= segmentCount())
        return false;
    setFocus(current_ + 2, 0);
    return true;
}

bool Pattern::KeyBackspace() {
    if (!isText(current_) || caret_ != 0 || current_ < 2) return false;
    const int prev = current_ - 2;
    const int join = static_cast<int>(segments_[prev].text.size());
    segments_[prev].text += segments_[current_].text;
    segments_.erase(segments_.begin() + prev + 1, segments_.begin() + current_ + 1);
    setFocus(prev, join);
    return true;
}

void Pattern::ClickFreeArea() {
    for (int i = segmentCount() - 1; i >= 0; --i) {
        if (isText(i)) {
            setFocus(i, static_cast<int>(segments_[i].text.size()));
            return;
        }
    }
}

}  // namespace vandrel
