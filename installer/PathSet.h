#pragma once
// Paths compared without regard to (ASCII) case, as the uninstall list's
// directory lines are: hashed, so that a product of many files recording its
// folder for each of them never walks the folders recorded before.

#include "core/Array.h"
#include "core/String.h"

#include <cstdint>

class PathSet {
public:
    // False, adding nothing, when the path is there already in any case.
    bool insert(const String& path);
    bool contains(const String& path) const;
    int count() const { return paths_.count(); }
    void clear();

private:
    int slotOf(const String& path, uint32_t hash) const;
    void rehash(int slotCount);

    Array<String> paths_;
    // A power of two of slots, each 0 when free, else 1 + an index of paths_.
    Array<int> slots_;
};
