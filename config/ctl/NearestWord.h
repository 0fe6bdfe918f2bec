// The word a person most likely meant when they mistyped one, for "did you mean ...?" hints.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace ctl {

// The number of single-character insertions, deletions and substitutions, and swaps of two neighbouring
// characters, that turn `a` into `b` (a swapped pair is not edited again).
std::size_t EditDistance(std::string_view a, std::string_view b);

// Of `candidates`, the one nearest to `typed` in edit distance (first of equals), when it is near
// enough to be a slip: at most one edit for a word of up to four characters, else at most a third of
// its length. "" when none is.
std::string_view NearestWord(std::string_view typed, std::span<const std::string_view> candidates);

}  // namespace ctl
