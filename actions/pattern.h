// A naming pattern as the pattern editor holds it: alternating text segments and
// attribute tokens, with the text segment that has the focus and its caret. The model
// behind the PatternInput widget; it also serves every action that stores a pattern.
// Not thread-safe.
#pragma once

#include <QString>
#include <vector>

namespace vandrel {

struct PatternSegment {
    bool isToken = false;  // true: an attribute token; false: literal text
    QString text;          // the literal text, or the attribute name of a token
};

class Pattern {
  public:
    // The marker that encloses an attribute name inside a pattern string: "<//>".
    static QString GetSplitChr();

    // One empty text segment and no focus.
    Pattern();

    // Removes every segment and forgets the focus. The pattern is then empty (no
    // segments) until text is set again.
    void ClearAll();
    // Builds the segments from a pattern string: even elements become text segments,
    // odd elements tokens. The empty string gives one empty text segment. No focus.
    void SetPatternString(const QString& patternStr);
    // The segments joined back: text as is, tokens as "<//>" name "<//>".
    QString GetPatternString() const;
    // Inserts a token at the caret of the focused text segment; nothing without focus.
    // The focus stays on the left part, the caret at its end.
    void InsertPattern(const QString& attrName);

    // Focus and caret. index: position of a text segment (0-based); the caret is clamped
    // to its text. An index that is not a text segment clears the focus.
    void setFocus(int index, int caret);
    int currentSegment() const { return current_; }  // -1 when nothing has the focus
    int caret() const { return caret_; }
    // Replaces the text of a text segment as typed. Separator tokens, line breaks and the
    // token marker are removed, so a stored rule always splits back the same way. The
    // segment gets the focus with the caret after the typed text.
    void setSegmentText(int index, const QString& text);

    // The editing keys at segment borders. Each returns true when it acted (the widget
    // lets the text field handle the key otherwise).
    // Left arrow at caret 0 in any text segment but the first: focus moves to the
    // previous text segment, caret at its end.
    bool KeyLeft();
    // Right arrow at the end of the text in any text segment but the last: focus moves to
    // the next text segment, caret 0.
    bool KeyRight();
    // Backspace at caret 0 in any text segment but the first: the token before it is
    // deleted and this segment's text joins the previous one; the caret stands at the join.
    bool KeyBackspace();
    // A click on the free area: focus on the last text segment, caret at its end.
    void ClickFreeArea();

    int segmentCount() const { return static_cast<int>(segments_.size()); }
    const PatternSegment& segment(int index) const { return segments_.at(index); }

  private:
    bool isText(int index) const;

    std::vector<PatternSegment> segments_;
    int current_ = -1;
    int caret_ = 0;
};

}  // namespace vandrel
