// The texts a condition's prepared form (operator codes, upper-cased words, parsed numbers)
// was made from. A condition keeps its stored texts as they are and prepares them once
// rather than for every item it is asked about; this tells whether the texts are still the
// ones it prepared. A text that shares its data with the remembered copy is the same text
// without comparing a letter (a changed text never shares it: Qt copies on write). Plain
// value; not thread-safe.
#pragma once

#include <QString>
#include <array>
#include <cstddef>

namespace vandrel {

template <std::size_t N>
class FieldSnapshot {
  public:
    // True when every text is the one remembered; otherwise remembers these and returns
    // false, and the caller prepares its form again.
    template <typename... Texts>
    bool same(const Texts&... texts) {
        static_assert(sizeof...(Texts) == N, "one text per remembered field");
        const std::array<const QString*, N> now{&texts...};
        bool unchanged = valid_;
        for (std::size_t i = 0; unchanged && i < N; ++i) {
            if (now[i]->isSharedWith(kept_[i])) continue;
            unchanged = *now[i] == kept_[i];
            // Equal but stored apart (assigned anew): share it, so the next check is quick.
            if (unchanged) kept_[i] = *now[i];
        }
        if (unchanged) return true;
        for (std::size_t i = 0; i < N; ++i) kept_[i] = *now[i];
        valid_ = true;
        return false;
    }

  private:
    bool valid_ = false;
    std::array<QString, N> kept_;
};

}  // namespace vandrel
