#include "core/Sort.h"

#include <cstddef>

namespace {

class Sorter {
public:
    Sorter(const ElementOps& ops, void* scratch, CompareElements compare, void* context)
        : ops_(ops), scratch_(scratch), compare_(compare), context_(context) {}

    void quickSort(char* items, int count) {
        int depthLeft = 0;
        for (int n = count; n > 1; n >>= 1)
            depthLeft += 2;
        while (count > 16) {
            if (depthLeft-- == 0) {
                heapSort(items, count);
                return;
            }
            medianToFront(items, count);
            int i = 0, j = count;
            for (;;) {
                do
                    ++i;
                while (i < count && less(items, i, 0));
                do
                    --j;
                while (j > 0 && less(items, 0, j));
                if (i >= j)
                    break;
                swap(items, i, j);
            }
            swap(items, 0, j);
            // Recurse into the smaller side, go on with the larger: the depth
            // of the recursion stays logarithmic.
            if (j < count - j - 1) {
                quickSort(items, j);
                items = at(items, j + 1);
                count -= j + 1;
            } else {
                quickSort(at(items, j + 1), count - j - 1);
                count = j;
            }
        }
        insertionSort(items, count);
    }

private:
    char* at(char* items, int i) const {
        return items + static_cast<std::ptrdiff_t>(i) * ops_.size;
    }
    bool less(char* items, int i, int j) const {
        return compare_(at(items, i), at(items, j), context_) < 0;
    }
    void swap(char* items, int i, int j) {
        swapElements(ops_, at(items, i), at(items, j), scratch_);
    }

    void insertionSort(char* items, int count) {
        for (int i = 1; i < count; ++i)
            for (int j = i; j > 0 && less(items, j, j - 1); --j)
                swap(items, j, j - 1);
    }

    void siftDown(char* items, int root, int count) {
        for (int child = 2 * root + 1; child < count; root = child, child = 2 * root + 1) {
            if (child + 1 < count && less(items, child, child + 1))
                ++child;
            if (!less(items, root, child))
                return;
            swap(items, root, child);
        }
    }

    void heapSort(char* items, int count) {
        for (int i = count / 2 - 1; i >= 0; --i)
            siftDown(items, i, count);
        for (int last = count - 1; last > 0; --last) {
            swap(items, 0, last);
            siftDown(items, 0, last);
        }
    }

    // Leaves the median of the first, middle and last item at the front.
    void medianToFront(char* items, int count) {
        const int mid = count / 2, last = count - 1;
        if (less(items, mid, 0))
            swap(items, mid, 0);
        if (less(items, last, mid)) {
            swap(items, last, mid);
            if (less(items, mid, 0))
                swap(items, mid, 0);
        }
        swap(items, 0, mid);
    }

    const ElementOps& ops_;
    void* scratch_;
    CompareElements compare_;
    void* context_;
};

} // namespace

void sortElements(void* items, int count, const ElementOps& ops, CompareElements compare,
                  void* context) {
    if (count < 2)
        return;
    ElementScratch scratch(ops);
    Sorter(ops, scratch.get(), compare, context).quickSort(static_cast<char*>(items), count);
}
