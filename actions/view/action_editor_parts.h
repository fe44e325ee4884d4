// Fields shared by several action editors: the "If file/folder exists:" choice and the
// pattern with its "insert" list.
#pragma once

#include <functional>
#include <vector>

class QWidget;

namespace vandrel {

class Pattern;
class PatternInput;

// Adds the caption and the two exclusive radios at top (twips). renameValue: 1 for
// "rename", 0 for "replace (rename the old one)"; setRename is called with the choice.
// Returns the widgets, so the caller can show them as options.
std::vector<QWidget*> AddConflictChoice(QWidget* parent, int top, int renameValue,
                                        std::function<void(bool)> setRename);
// Adds a PatternInput over pattern and, up to right, the "insert" list at left/top
// (twips). Picking an attribute inserts it at the pattern's caret.
PatternInput* AddPatternWithInsert(QWidget* parent, Pattern& pattern, int left, int top,
                                   int patternWidth, QWidget** insertList, int right);

}  // namespace vandrel
