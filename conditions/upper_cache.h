// The upper-cased form of a condition's own text, remembered between items: the text
// changes only when the user edits it, but every item compares against it.
#pragma once

#include <QString>

namespace vandrel {

class UpperCache {
  public:
    const QString& of(const QString& text) {
        if (!valid_ || text != source_) {
            source_ = text;
            upper_ = text.toUpper();
            valid_ = true;
        }
        return upper_;
    }

  private:
    bool valid_ = false;
    QString source_;
    QString upper_;
};

}  // namespace vandrel
