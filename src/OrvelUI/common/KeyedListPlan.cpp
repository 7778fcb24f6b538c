#include "OrvelUI/common/KeyedListPlan.h"

#include <algorithm>

namespace orvel {

namespace {

// Marks the new indices of a longest increasing subsequence of `order`: those rows keep their
// places and everything else moves around them, which is the least number of moves.
std::vector<bool> stableRows(const std::vector<int>& order, int newCount) {
    std::vector<int> tails;  // positions in `order` ending the best run of each length
    std::vector<int> previous(order.size(), -1);
    for (int i = 0; i < int(order.size()); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), order[std::size_t(i)],
                                         [&](int position, int value) { return order[std::size_t(position)] < value; });
        if (at != tails.begin()) previous[std::size_t(i)] = *(at - 1);
        if (at == tails.end()) {
            tails.push_back(i);
        } else {
            *at = i;
        }
    }
    std::vector<bool> stable(std::size_t(newCount), false);
    for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = previous[std::size_t(i)]) {
        stable[std::size_t(order[std::size_t(i)])] = true;
    }
    return stable;
}

}  // namespace

std::vector<KeyedListStep> planKeyedUpdate(std::span<const int> newIndexOfRow, int newCount) {
    std::vector<KeyedListStep> steps;

    // Leaving rows go first, in runs from the bottom so the rows above keep their indices.
    for (int end = int(newIndexOfRow.size()); end > 0;) {
        if (newIndexOfRow[std::size_t(end - 1)] >= 0) {
            --end;
            continue;
        }
        int first = end - 1;
        while (first > 0 && newIndexOfRow[std::size_t(first - 1)] < 0) --first;
        steps.push_back(KeyedListStep::removing(first, end - first));
        end = first;
    }

    // The rows as they stand, by new index.
    std::vector<int> rows;
    std::vector<bool> present(std::size_t(newCount), false);
    for (const int index : newIndexOfRow) {
        if (index < 0) continue;
        rows.push_back(index);
        present[std::size_t(index)] = true;
    }
    const std::vector<bool> stable = stableRows(rows, newCount);

    // Each new row in turn goes right after its predecessor in the new list. The rows placed so
    // far and the stable rows are always in the new order relative to each other, so once every
    // row is placed the whole list is.
    int next = 0;  // just after the last placed row
    for (int index = 0; index < newCount;) {
        if (!present[std::size_t(index)]) {
            int end = index;
            while (end < newCount && !present[std::size_t(end)]) ++end;
            steps.push_back(KeyedListStep::inserting(next, end - index, index));
            for (int inserted = index; inserted < end; ++inserted) {
                rows.insert(rows.begin() + next++, inserted);
            }
            index = end;
            continue;
        }
        // A stable row already lies after the last placed one; a moving row may lie anywhere.
        const auto from = stable[std::size_t(index)] ? rows.begin() + next : rows.begin();
        const int at = int(std::find(from, rows.end(), index) - rows.begin());
        if (stable[std::size_t(index)] || at == next) {
            next = at + 1;
        } else if (at > next) {
            steps.push_back(KeyedListStep::moving(at, next));
            std::rotate(rows.begin() + next, rows.begin() + at, rows.begin() + at + 1);
            ++next;
        } else {
            steps.push_back(KeyedListStep::moving(at, next));
            std::rotate(rows.begin() + at, rows.begin() + at + 1, rows.begin() + next);
        }
        ++index;
    }
    return steps;
}

}  // namespace orvel
