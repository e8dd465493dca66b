#pragma once
// The containers' quicksort, written once over raw elements: compare(a, b)
// returns a negative, zero or positive number; equal items end in no
// particular order. Every scan is bounded, so a comparison that contradicts
// itself scrambles the order but never leaves the range, and a partition gone
// deep finishes as a heap sort.

#include "core/ElementOps.h"

using CompareElements = int (*)(const void* a, const void* b, void* context);

// `context` goes to every comparison.
void sortElements(void* items, int count, const ElementOps& ops, CompareElements compare,
                  void* context);

// compare(const Item&, const Item&) returns a negative, zero or positive number.
template <class Item, class Compare> void quickSort(Item* items, int count, Compare compare) {
    sortElements(
        items, count, kElementOps<Item>,
        [](const void* a, const void* b, void* context) {
            return (*static_cast<Compare*>(context))(*static_cast<const Item*>(a),
                                                     *static_cast<const Item*>(b));
        },
        &compare);
}
