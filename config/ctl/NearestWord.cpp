#include "NearestWord.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace ctl {

std::size_t EditDistance(std::string_view a, std::string_view b) {
    // The classic table a row at a time, keeping the row before the previous one for swapped pairs.
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        before.swap(previous);
        previous.swap(row);
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
    }
    return row[b.size()];
}

std::string_view NearestWord(std::string_view typed, std::span<const std::string_view> candidates) {
    const std::size_t allowed = typed.size() <= 4 ? 1 : typed.size() / 3;
    std::string_view nearest;
    std::size_t best = allowed + 1;
    for (const std::string_view candidate : candidates) {
        const std::size_t distance = EditDistance(typed, candidate);
        if (distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

}  // namespace ctl
