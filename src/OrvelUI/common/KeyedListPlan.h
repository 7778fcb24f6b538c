#pragma once

// The steps that turn a keyed list into a new one with the fewest row operations: rows that
// left are removed, rows that arrived are inserted, and only the rows outside a longest run of
// rows already in their new order are moved. Pure, so a model can replay the steps on its rows
// between the begin and end notifications of the item model.

#include <span>
#include <vector>

namespace orvel {

struct KeyedListStep {
    enum class Kind { remove, insert, move };

    Kind kind;
    // remove: `count` rows from `row`. insert: `count` rows at `row`, copies of the new list's
    // rows from `source`. move: the row at `row` goes before the row at `destination`, both
    // counted before the move (the item model's own convention).
    int row = 0;
    int count = 1;
    int source = 0;
    int destination = 0;

    static KeyedListStep removing(int row, int count) { return {Kind::remove, row, count, 0, 0}; }
    static KeyedListStep inserting(int row, int count, int source) { return {Kind::insert, row, count, source, 0}; }
    static KeyedListStep moving(int row, int destination) { return {Kind::move, row, 1, 0, destination}; }

    friend bool operator==(const KeyedListStep&, const KeyedListStep&) = default;
};

// `newIndexOfRow` holds, for each current row, its index in the new list, or -1 when it leaves;
// the indices that appear are distinct and below `newCount`. After the steps, row i holds the
// new list's row i. Costs O(n log n) plus O(n) per moved row and per inserted run.
std::vector<KeyedListStep> planKeyedUpdate(std::span<const int> newIndexOfRow, int newCount);

}  // namespace orvel
